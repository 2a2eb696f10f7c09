// Page files written cell by cell and read back as the art view reads them, for the art view's tests.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "convert/page_markup.h"
#include "ui/art/art_page.h"

namespace moza::ui::testing {

struct Cell {
    std::uint16_t code;   // code page 932: one byte, or lead byte x 256 + trail byte
    std::uint32_t color;  // 0xRRGGBB
};

/// The page of `rows` x `columns` cells, cell(r, c) each, as Moza writes it, loaded for drawing.
inline LoadedArtPage LoadedPage(int rows, int columns, const std::function<Cell(int, int)>& cell) {
    using namespace convert::markup;
    std::string bytes = convert::PageFileHead("art");
    bytes.append(kTableStart).append(std::to_string(columns * kCellPixels)).append(kTagEnd);
    for (int r = 0; r < rows; ++r) {
        bytes.append(kRowStart);
        for (int c = 0; c < columns; ++c) {
            const Cell at = cell(r, c);
            char color[8];
            std::snprintf(color, sizeof color, "%06X", static_cast<unsigned>(at.color));
            bytes.append(kCellStart).append(color).append(kTagEnd);
            if (at.code > 255) bytes += static_cast<char>(at.code >> 8);
            bytes.append(1, static_cast<char>(at.code & 255)).append(kCellEnd);
        }
        bytes.append(kRowEnd);
    }
    bytes.append(kTableEnd).append(convert::kPageFileTail);
    const QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("art.html")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), static_cast<qint64>(bytes.size())) > 0);
    file.close();
    Result<LoadedArtPage> loaded = LoadArtPage(file.fileName().toStdU16String());
    EXPECT_TRUE(loaded) << (loaded ? "" : loaded.error().message);
    return loaded ? std::move(loaded).value() : LoadedArtPage{};
}

}  // namespace moza::ui::testing
