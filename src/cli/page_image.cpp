// The picture of a made page: the art view's page reader and painter, and a PNG written whole.
#include "cli/page_image.h"

#include "picture/path_text.h"
#include "ui/art/art_image.h"
#include "ui/art/page_font.h"

namespace moza::cli {

Status PreparePageImages(const std::filesystem::path& dataFolder) {
    if (ui::RegisterGlyphFont(picture::ToText(dataFolder))) return success();
    return Error{"cannot draw the page's picture: the page font IPAGothic is neither installed nor in '" +
                 (dataFolder / "fonts").string() + "'"};
}

Status WritePageImage(const std::filesystem::path& page, const std::filesystem::path& image, int width) {
    const std::string context = "cannot draw " + Quoted(image) + ": ";
    Result<ui::LoadedArtPage> loaded = ui::LoadArtPage(page);
    if (!loaded) return InContext(context, loaded.error(), image);
    const ui::ArtPage& art = *loaded.value().page;
    Result<QImage> drawn = ui::DrawArtImage(art, width != 0 ? width : ui::ArtImageSizesOf(art).standard.width());
    if (!drawn) return InContext(context, drawn.error(), image);
    return ui::WritePng(drawn.value(), image);
}

}  // namespace moza::cli
