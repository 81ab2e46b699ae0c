// The window benchmarks' common start: a main window on the menu, playing in
// a private folder with a fresh club file, so that no settings or club file
// of an earlier run (and no message box about one) gets in the way.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "common/atomic_file.h"
#include "game/main_window.h"
#include "localdata/club_file.h"

namespace bench {

inline std::unique_ptr<vk::TForm1> MenuWindowAtSize(int size)
{
    static QTemporaryDir folder;
    auto form = std::make_unique<vk::TForm1>();
    form->Prefs.WindowSize = size;
    form->Prefs.SoundOn = false;
    form->SetWindowSize();
    form->Game.ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
    vk::ClubLines lines = vk::EmptyClubFile();
    vk::SealClubFile(lines);
    vk::WriteFileAtomically(form->Game.ProgramDir + vk::ClubFileName, vk::ClubFileBytes(lines));
    form->ShowMenuWithoutIntro();
    return form;
}

} // namespace bench
