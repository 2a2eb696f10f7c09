// The texts of a page: the table markup as the composer writes it, and the envelope of a page
// file around the table. Every writer and reader of pages takes them from here.
#pragma once

#include <string>
#include <string_view>

#include "convert/page_geometry.h"

namespace moza::convert::markup {

inline constexpr std::string_view kTableStart = "<table cellspacing=0 cellpadding=0 width=";
inline constexpr std::string_view kTagEnd = ">";
inline constexpr std::string_view kRowStart = "<tr height=9>";
inline constexpr std::string_view kCellStart = "<td width=9><font style=font-size:8pt;color:#";
inline constexpr std::string_view kCellEnd = "</font></td>";
inline constexpr std::string_view kRowEnd = "</tr>";
inline constexpr std::string_view kTableEnd = "</table>";
/// The colour of every cell of a monochrome page.
inline constexpr std::string_view kMonoColor = "000000";
/// The pixels of one cell's side that the table head counts.
inline constexpr int kCellPixels = geometry::kCellPixels;
static_assert(geometry::SaysNumber(kRowStart, "height=", kCellPixels) &&
              geometry::SaysNumber(kCellStart, "width=", kCellPixels) &&
              geometry::SaysNumber(kCellStart, "font-size:", geometry::kCellPoints));

inline constexpr std::string_view kPageStart = "<html><head><title>";
inline constexpr std::string_view kAfterTitle = "</title></head><body text=#000000>";

/// A page file is its page document between double quotes, then CR LF.
inline constexpr std::string_view kFileStart = "\"";

}  // namespace moza::convert::markup

namespace moza::convert {

/// How every page file begins, whatever its title: the opening quote and the page start.
inline constexpr std::string_view kPageFileMark = "\"<html><head><title>";

/// The bytes of a page file before its table: the opening quote, the page start, the title
/// (code page 932, unescaped) and the body start.
inline std::string PageFileHead(std::string_view titleCp932) {
    std::string head;
    head.reserve(kPageFileMark.size() + titleCp932.size() + markup::kAfterTitle.size());
    head.append(markup::kFileStart).append(markup::kPageStart).append(titleCp932).append(markup::kAfterTitle);
    return head;
}

/// The bytes of a page file after its table: the page end (</body></html>), the closing quote, CR and LF.
inline constexpr std::string_view kPageFileTail = "</body></html>\"\r\n";

static_assert(kPageFileMark.substr(0, 1) == markup::kFileStart && kPageFileMark.substr(1) == markup::kPageStart);

}  // namespace moza::convert
