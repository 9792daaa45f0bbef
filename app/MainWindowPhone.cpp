// The main window's phone side: connecting on Timer1, downloading the phone's containers into
// StartDir and listing them, and removing at close exactly the copies that downloads wrote.
#include "app/MainWindow.h"

#include "phone/PhoneConnection.h"
#include "phone/PhoneDownload.h"

#include <QAction>
#include <QListWidget>
#include <QTimer>

void TForm1::createPhone(std::unique_ptr<PhoneLibrary> phoneLibrary)
{
    m_phoneLibrary = std::move(phoneLibrary);
    m_phoneConnection = std::make_unique<PhoneConnection>(*m_phoneLibrary, *Timer1);
    connect(m_phoneConnection.get(), &PhoneConnection::statusTextChanged, this,
            [this](const QString &text) { m_errorBoundary.run([&] { setStatusText(text); }); });
}

void TForm1::suiButton1Click()
{
    m_phoneConnection->begin();
}

void TForm1::Timer1Timer()
{
    // The timer is already stopped when the phone is ready, so the download that follows
    // inside this tick is never interrupted by another poll.
    if (m_phoneConnection->poll() == PhoneConnection::PollResult::Ready)
        Action2->trigger();
}

void TForm1::Action2Execute()
{
    FileDRF->clear();
    DrfPathList.clear();
    PhoneDownload download(*m_phoneLibrary, StartDir, m_phoneCopies,
                           [this](const QString &text) { setStatusText(text); });
    try {
        download.run();
    } catch (...) {
        // The files copied before the failure stay listed and usable.
        showPhoneCopies(download.result());
        throw;
    }
    showPhoneCopies(download.result());
}

void TForm1::showPhoneCopies(const PhoneDownloadResult &result)
{
    // A read replaces the lists with its own files, refreshing the copies an earlier read made
    // of the same phone files; every copy is still removed at close through m_phoneCopies.
    FileDRF->clear();
    DrfPathList.clear();
    for (qsizetype i = 0; i < result.captions.size(); ++i) {
        FileDRF->addItem(new QListWidgetItem(ImageList1.icon(0), result.captions[i]));
        DrfPathList << result.localPaths[i];
    }
    PhoneNameList = result.phoneNames;
    PhoneSizeList.clear();
    for (const qint32 size : result.phoneSizes)
        PhoneSizeList << QString::number(size);
    if (result.savePreset)
        SaveDialog1.SetFileName(*result.savePreset);
}

void TForm1::FormCloseQuery(bool &CanClose)
{
    Q_UNUSED(CanClose);
    // Only what downloads wrote, under the names it was really written as: a file that lay in
    // StartDir before (its copy then took "a (1).drf"), was opened from disk, or is a copy the
    // user has changed since is kept.
    m_phoneCopies.removeAll();
}
