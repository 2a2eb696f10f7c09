// Paths as Qt texts and back, without losing characters on any platform.
#pragma once

#include <QString>
#include <filesystem>

namespace moza::picture {

/// The file system path named by `text` (as a dialog or a drop gives it).
std::filesystem::path ToPath(const QString& text);

/// `path` as a text, as the user would type it (forward slashes stay as they are).
QString ToText(const std::filesystem::path& path);

}  // namespace moza::picture
