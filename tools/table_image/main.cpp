// moza-table-image: writes the binary form of a character table (char.bin) beside the program's char.csv.
#include <iostream>

#include "glyph/table_image.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: moza-table-image TABLE.csv IMAGE.bin\n";
        return 2;
    }
    const moza::Status written = moza::glyph::WriteTableImage(argv[1], argv[2]);
    if (!written) {
        std::cerr << "moza-table-image: " << written.error().message << "\n";
        return 1;
    }
    return 0;
}
