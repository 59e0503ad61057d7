// Paths as bytes. A folder unpacked by another tool may still be named in Shift_JIS, which no
// QString holds: every way a path comes in (command line, drop, Open dialog, recent list) keeps
// or recovers its bytes, and only what is shown is decoded.
#pragma once

#include <QString>
#include <string>

class QUrl;

namespace tavro {

// The absolute, lexically cleaned form of `path` against the current directory. Nothing is cut
// off, however long the path, so a long name never turns into another file's name.
std::string FullPath(const std::string& path);

// The bytes of a path a Qt widget hands over. Qt shows names that are not UTF-8 with
// replacement characters; such a component is found again as the entry of its folder that Qt
// shows the same way.
std::string PathFromShown(const QString& shown);

// The bytes of a local file URL's path, percent escapes decoded; empty for any other URL.
std::string PathFromFileUrl(const QUrl& url);

// The text a path is shown as: UTF-8, else Shift_JIS, else Latin-1.
QString ShownPath(const std::string& path);

}  // namespace tavro
