// What a drop from a file manager hands the window: a text/uri-list of
// file:// URLs. The first one names the folder: itself when it is a folder,
// the folder holding it when it is a file.
#pragma once

#include <QString>

#include <optional>

class QMimeData;

namespace app {

// The folder a drop names, or nothing for anything else (no URL, another
// scheme, a path that does not exist).
std::optional<QString> DroppedFolder(const QMimeData& data);

}  // namespace app
