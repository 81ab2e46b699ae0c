#pragma once
// Where the program keeps its files while it runs.
#include <QString>

namespace vk {

// The program's own folder, ending with "/": beside the executable when we
// may write there (the build tree, an unpacked copy), otherwise the per-user
// data folder.
QString FindProgramDir();

// A folder of this user's only, for the files the program unpacks while it
// runs (the music, the display font), ending with "/".  Each program folder
// gets its own, so two copies started from different folders never delete
// each other's files, and no other user can plant a file there.  Empty when
// no such folder can be had: the music then stays silent and the own font
// uninstalled.
QString FindTempDir(const QString& programDir);

} // namespace vk
