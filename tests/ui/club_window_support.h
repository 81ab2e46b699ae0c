#pragma once
// What the club windows' tests share: a program folder of the test's own
// (a fresh club file, the user file's folder above it), and a main window
// pointed at a real server on a loopback port, brought to the menu without
// the intro.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <string>

#include "net/account_requests.h"
#include "logic/club/records.h"
#include "logic/club/user_file.h"
#include "common/club_paths.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "logic/localdata/club_file.h"
#include "club_member.h"

namespace clubtest {

// <temp>/Vokabron/ is the program's folder; the user file lies in <temp>/.
class ProgramFolder {
public:
    // `label`: the club file's distribution label.
    explicit ProgramFolder(const std::string& label = "STD")
    {
        QDir(root_.path()).mkpath(QStringLiteral("Vokabron"));
        vk::ClubLines lines = vk::EmptyClubFile();
        lines.back().replace(6, 3, label);
        vk::SealClubFile(lines);
        QFile f(QDir(root_.path()).filePath(QStringLiteral("Vokabron/Vokabron.clb")));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray::fromStdString(vk::ClubFileBytes(lines)));
    }
    std::string ProgramDir() const { return QDir(root_.path()).absolutePath().toStdString() + "/Vokabron/"; }
    std::string UserFile() const { return vk::UserFilePath(ProgramDir()); }

    // The user file of a member whose password is `pw`.
    bool SaveMember(const std::string& nick, const std::string& pw) const
    {
        vk::ClubStateData state;
        state.ClubUser.Nick = nick;
        state.ClubUser.PwC = vk::EncodeText(pw, vk::ClubStartKey);
        return vk::WriteUserFile(UserFile(), state);
    }

private:
    QTemporaryDir root_;
};

inline std::string ConfigAddress(const std::string& base) { return vk::StoredClubAddress(base, vk::ClubConfig); }
inline std::string NewsAddress(const std::string& base) { return vk::StoredClubAddress(base, vk::ClubNews); }

// Points the window at the club at `base` and its folder, and opens the
// menu as a click after the intro would.
inline void OpenMenu(vk::TForm1& form, const std::string& base, const ProgramFolder& folder)
{
    form.State().ProgramDir = folder.ProgramDir();
    form.Addresses().ConfigAddress = ConfigAddress(base);
    form.Addresses().NewsPageAddress = NewsAddress(base);
    form.ShowMenuWithoutIntro();
    form.Preferences().SoundOn = false;
    form.Preferences().MusicOn = false;
    form.show();
}

using vk::test::Member;

} // namespace clubtest
