// The program's help file: the user guide, installed as share/doc/tavro/guide.html in the
// program's prefix. The build tree has a copy at the same place relative to the program.
#pragma once

#include <QString>

namespace tavro {

// Where the guide of the program at `executablePath` lies: ../share/doc/tavro/guide.html from
// the program's folder, whether or not it is there.
QString UserGuidePath(const QString& executablePath);

// Shows the guide of the running program in the desktop's browser. False, with `message` saying
// why, when the guide is missing or nothing could show it.
bool OpenUserGuide(QString& message);

}  // namespace tavro
