// FontFace: FreeType rendering at one pixel size; fontconfig lookup by family name.
#include "font_face.h"

#include <cmath>
#include <cstdio>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

namespace moza::tools {

struct FontFace::Handles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    ~Handles() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

namespace {

std::string freeTypeError(FT_Error error) {
    const char* text = FT_Error_String(error);
    if (text != nullptr) return text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "FreeType error %d", error);
    return buffer;
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

Result<std::filesystem::path> FindFontFile(const std::string& family) {
    if (FcInit() == FcFalse) return Error{"fontconfig could not be initialised"};
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (pattern == nullptr) return Error{"'" + family + "' is not a font name fontconfig understands"};
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return Error{"no font matches '" + family + "'"};

    FcChar8* file = nullptr;
    FcChar8* foundFamily = nullptr;
    std::filesystem::path path;
    bool sameFamily = false;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        path = reinterpret_cast<const char*>(file);
    }
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &foundFamily) == FcResultMatch; ++i) {
        if (lowerAscii(reinterpret_cast<const char*>(foundFamily)) == lowerAscii(family)) sameFamily = true;
    }
    FcPatternDestroy(match);
    if (path.empty()) return Error{"fontconfig names no file for '" + family + "'"};
    if (!sameFamily) {
        return Error{"the font family '" + family + "' is not installed (fontconfig offers " +
                     path.string() + " instead)"};
    }
    return path;
}

FontFace::FontFace(std::unique_ptr<Handles> handles, double pixelSize, Hinting hinting)
    : m_handles(std::move(handles)), m_pixelSize(pixelSize), m_hinting(hinting) {
    const FT_Face face = m_handles->face;
    const double scale = pixelSize / face->units_per_EM;
    // Browsers round ascent, descent and line gap to whole pixels each, and stack lines by
    // their sum.
    m_ascent = static_cast<int>(std::lround(face->ascender * scale));
    m_descent = static_cast<int>(std::lround(-face->descender * scale));
    const int gap = static_cast<int>(
        std::lround((face->height - face->ascender + face->descender) * scale));
    m_lineHeight = m_ascent + m_descent + (gap > 0 ? gap : 0);
}

FontFace::FontFace(FontFace&&) noexcept = default;
FontFace& FontFace::operator=(FontFace&&) noexcept = default;
FontFace::~FontFace() = default;

Result<FontFace> FontFace::Open(const std::filesystem::path& file, double pixelSize, Hinting hinting) {
    auto handles = std::make_unique<Handles>();
    FT_Error error = FT_Init_FreeType(&handles->library);
    if (error != 0) return Error{"FreeType could not start: " + freeTypeError(error)};
    error = FT_New_Face(handles->library, file.c_str(), 0, &handles->face);
    if (error != 0) return Error{"cannot open the font " + Quoted(file) + ": " + freeTypeError(error)};
    if (!FT_IS_SCALABLE(handles->face)) {
        return Error{"the font " + Quoted(file) + " has no outlines to scale"};
    }
    error = FT_Set_Char_Size(handles->face, 0, static_cast<FT_F26Dot6>(std::lround(pixelSize * 64.0)), 72, 72);
    if (error != 0) {
        return Error{"cannot size the font " + Quoted(file) + ": " + freeTypeError(error)};
    }
    return FontFace(std::move(handles), pixelSize, hinting);
}

std::string FontFace::familyName() const {
    const char* name = m_handles->face->family_name;
    return name != nullptr ? name : "";
}

std::string FontFace::version() const {
    const FT_Face face = m_handles->face;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != TT_NAME_ID_VERSION_STRING) continue;
        if (name.platform_id == TT_PLATFORM_MACINTOSH) {
            return std::string(reinterpret_cast<const char*>(name.string), name.string_len);
        }
        if (name.platform_id == TT_PLATFORM_MICROSOFT) {
            std::string text;  // UTF-16BE; version strings are ASCII
            for (FT_UInt j = 1; j < name.string_len; j += 2) text.push_back(static_cast<char>(name.string[j]));
            return text;
        }
    }
    return {};
}

bool FontFace::hasGlyph(char32_t codePoint) const {
    return FT_Get_Char_Index(m_handles->face, codePoint) != 0;
}

Result<GlyphInk> FontFace::render(char32_t codePoint) const {
    const FT_Face face = m_handles->face;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0) return Error{"the font has no glyph for this character"};
    FT_Int32 flags = FT_LOAD_NO_BITMAP;
    switch (m_hinting) {
        case Hinting::None: flags |= FT_LOAD_NO_HINTING; break;
        case Hinting::Light: flags |= FT_LOAD_TARGET_LIGHT; break;
        case Hinting::Full: flags |= FT_LOAD_TARGET_NORMAL; break;
    }
    FT_Error error = FT_Load_Glyph(face, index, flags);
    if (error == 0) error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
    if (error != 0) return Error{"FreeType cannot render the glyph: " + freeTypeError(error)};

    const FT_GlyphSlot slot = face->glyph;
    GlyphInk ink;
    ink.left = slot->bitmap_left;
    ink.top = slot->bitmap_top;
    ink.width = static_cast<int>(slot->bitmap.width);
    ink.rows = static_cast<int>(slot->bitmap.rows);
    ink.advance = static_cast<double>(slot->linearHoriAdvance) / 65536.0;  // unrounded
    ink.coverage.resize(static_cast<std::size_t>(ink.width) * static_cast<std::size_t>(ink.rows));
    const int grays = slot->bitmap.num_grays > 1 ? slot->bitmap.num_grays - 1 : 1;
    for (int y = 0; y < ink.rows; ++y) {
        const unsigned char* row = slot->bitmap.buffer + static_cast<std::ptrdiff_t>(y) * slot->bitmap.pitch;
        for (int x = 0; x < ink.width; ++x) {
            ink.coverage[static_cast<std::size_t>(y * ink.width + x)] =
                static_cast<float>(row[x]) / static_cast<float>(grays);
        }
    }
    return ink;
}

}  // namespace moza::tools
