#include "ui/localdata/club_file_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/messages.h"
#include "common/product.h"
#include "ui/kit/message_box.h"
#include "ui/kit/text_codec.h"

namespace vk {
namespace {

// The bare file name, between double quotes.
QString QuotedName() { return QLatin1Char('"') + QString::fromLatin1(ClubFileName) + QLatin1Char('"'); }

} // namespace

bool CheckClubFile(QWidget* parent, const std::string& path, bool report, LocalClubState& state)
{
    const ClubCheckResult result = InspectClubFile(path);
    switch (result.Verdict) {
    case ClubCheck::Missing:
        ShowError(parent, UiText(Msg::CantFindFile) + QLatin1Char(' ') + QuotedName() + QLatin1Char('!'));
        return false;
    case ClubCheck::Bad:
        if (report)
            ShowError(parent, UiText(Msg::IncorrectFile) + QLatin1Char(' ') + QuotedName() + QLatin1Char('!'));
        return false;
    case ClubCheck::Good: break;
    }
    state.DistributionLabel = result.DistributionLabel;
    state.ClubWriteProtected = result.WriteProtected;
    if (result.WriteProtected)
        ShowError(parent, TwoLines(UiText(Msg::TheFile) + QLatin1Char(' ') + QuotedName() + UiText(Msg::BadAttributes),
                                   UiText(Msg::WorkIncorrect)));
    return true;
}

void ReportClubWrite(QWidget* parent, ClubWrite result)
{
    switch (result) {
    case ClubWrite::Written:
    case ClubWrite::Protected: return;
    case ClubWrite::BadFile:
        ShowError(parent, UiText(Msg::IncorrectFile) + QLatin1Char(' ') + QuotedName() + QLatin1Char('!'));
        return;
    case ClubWrite::Failed: ShowError(parent, UiText(Msg::DiskWriteError)); return;
    }
}

bool SeedClubFile(const std::string& programDir)
{
    const QString target = QString::fromStdString(programDir) + QString::fromLatin1(ClubFileName);
    if (QFileInfo::exists(target))
        return true;
    // Installed beside the program's data: <prefix>/bin/vokabron and
    // <prefix>/share/vokabron/Vokabron.clb.
    const QString shipped = QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral("../share/vokabron/") + QString::fromLatin1(ClubFileName));
    if (!QFileInfo::exists(shipped) || !QFile::copy(shipped, target))
        return false;
    // The installed copy belongs to the system; the player's own copy must
    // be writable, or every game would be reported as write-protected.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::ReadOther);
    return true;
}

} // namespace vk
