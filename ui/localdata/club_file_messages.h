#pragma once
// The club file's messages to the player: the start-up check and the
// failures of an update.
#include <string>

#include "logic/localdata/club_file.h"

class QWidget;

namespace vk {

// The start-up check with its error boxes (Report true).  False: the
// program must end.  A write-protected file is reported and the program
// goes on with ClubWriteProtected set.
bool CheckClubFile(QWidget* parent, const std::string& path, bool report, LocalClubState& state);

// Tells the player why an update did not reach the file; nothing for a
// written file or a protected one (reported at start-up).
void ReportClubWrite(QWidget* parent, ClubWrite result);

// Copies the club file shipped with the program into ProgramDir when it has
// none there (a system-wide install keeps its data in a per-user folder).
// False when there is no file and none could be copied.
bool SeedClubFile(const std::string& programDir);

} // namespace vk
