// TableBuilder: darkness levels from measured ink, duplicate removal, record order, char.csv text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "cell_ink.h"
#include "char_selection.h"
#include "glyph/char_record.h"

namespace moza::tools {

/// A measured character, in the order of preference (the better of two equal ones first).
struct MeasuredChar {
    Candidate character;
    CellInk ink;
};

/// How ink becomes levels and in which order the records go.
enum class RecordOrder {
    Code,     // code order: kana and symbols, then the kanji levels 1 and 2, then extensions
    Flat,     // the most even patterns first
    StandIn,  // each group of records sharing a probe prefix led by its best stand-in
    Trained,  // records added and leaders chosen for the blocks of training pictures (TrainRecords)
};

/// Which coverage reaches level 10 when no fixed scale is given.
enum class ScaleRule {
    Darkest,      // the darkest ninth among the characters, at any position
    TopLeft,      // the darkest top-left ninth, so that the first probe position reaches 10
                  // (glyph corners are seldom dark), lowered as far as needed for it to hold
                  // every level; darker ninths elsewhere stay at 10
    PerPosition,  // each position its own darkest ninth
};

struct LevelRule {
    /// Coverage that reaches level 10; 0: decided by `scaleRule`.
    double scale = 0;
    ScaleRule scaleRule = ScaleRule::TopLeft;
    /// How far each ninth is drawn toward the cell's mean ink (0: not at all, 1: all the way),
    /// as the eye averages a 3 x 3-pixel part with its neighbours.
    double blend = 0.3;
};

/// The darkest ninth (after blending) among `characters`, at least a tiny positive value.
double DarkestNinth(const std::vector<MeasuredChar>& characters, double blend);

/// The coverage that reaches level 10 at each position under `rule`.
std::array<double, 9> ScalesOf(const std::vector<MeasuredChar>& characters, const LevelRule& rule);

/// The level of each ninth: the level the block sampler gives a pixel of the grey that the
/// ninth's scaled coverage would paint (channel sum 765 x (1 - min(1, v / scale)), where v is
/// the ninth blended toward the mean). A blank ninth is 0, a ninth at `scale` is 10.
glyph::DarknessPattern LevelsOf(const CellInk& ink, const std::array<double, 9>& scales, double blend);

/// The levels of each ninth before they are cut to whole levels: the darkness of the grey the
/// ninth paints divided by the level step, so that level L spans [L, L + 1).
std::array<double, 9> ExactLevelsOf(const CellInk& ink, const std::array<double, 9>& scales, double blend);

/// One record per distinct pattern (the first character in preference order keeps it), in
/// `order`. A character named in `first`, when present, becomes record 0.
std::vector<glyph::CharRecord> BuildRecords(const std::vector<MeasuredChar>& characters, const LevelRule& rule,
                                            RecordOrder order, glyph::CharCode first = -1);

/// Moves the record of `first`, when there is one, to the front.
void PutFirst(std::vector<glyph::CharRecord>& records, glyph::CharCode first);

/// The levels 0 to 10 that no record holds at position `position`.
std::vector<int> MissingLevels(const std::vector<glyph::CharRecord>& records, int position);

/// The raw measurements as CSV: code, the nine coverages and the mean, one character a line.
std::string MeasurementText(const std::vector<MeasuredChar>& characters);

/// The char.csv text: the nine levels and the code per record, comma-separated, CR LF after each.
std::string CharDataText(const std::vector<glyph::CharRecord>& records);

}  // namespace moza::tools
