// The main window's phone side: connecting on Timer1, downloading the phone's containers into
// StartDir off the window's thread and listing them, and removing at close exactly the copies
// that downloads wrote.
#include "app/MainWindow.h"

#include "phone/PhoneConnection.h"
#include "phone/PhoneDownload.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QTimer>

namespace vocafetch {

void TForm1::createPhone(std::unique_ptr<PhoneLibrary> phoneLibrary)
{
    m_phoneLibrary = std::move(phoneLibrary);
    m_phoneConnection = std::make_unique<PhoneConnection>(*m_phoneLibrary, *Timer1);
    connect(m_phoneConnection.get(), &PhoneConnection::statusTextChanged, this,
            [this](const QString &text) { m_errorBoundary.run([&] { setStatusText(text); }); });
}

void TForm1::suiButton1Click()
{
    // The button is disabled while a download runs; the library is then in its hands.
    if (isReadingPhone())
        return;
    m_phoneConnection->begin();
}

void TForm1::Timer1Timer()
{
    // The timer is already stopped when the phone is ready, so no poll reaches the library
    // while the download that follows uses it.
    if (m_phoneConnection->poll() == PhoneConnection::PollResult::Ready)
        Action2->trigger();
}

void TForm1::Action2Execute()
{
    if (isReadingPhone())
        return;
    FileDRF->clear();
    DrfPathList.clear();
    m_phoneDownload =
        std::make_unique<vocafetch::PhoneDownloadJob>(*m_phoneLibrary, StartDir, m_phoneCopies);
    connect(m_phoneDownload.get(), &vocafetch::PhoneDownloadJob::statusTextChanged, this,
            [this](const QString &text) { m_errorBoundary.run([&] { setStatusText(text); }); });
    connect(m_phoneDownload.get(), &vocafetch::PhoneDownloadJob::finished, this,
            [this] { m_errorBoundary.run([this] { phoneDownloadFinished(); }); });
    enablePhoneRead(false);
    m_phoneDownload->start();
}

bool TForm1::isReadingPhone() const
{
    return m_phoneDownload && m_phoneDownload->isRunning();
}

void TForm1::phoneDownloadFinished()
{
    enablePhoneRead(true);
    // The files copied before a failure stay listed and usable; the failure is shown, and the
    // status line keeps the last file's progress.
    showPhoneCopies(m_phoneDownload->result());
    if (const std::exception_ptr failure = m_phoneDownload->failure())
        std::rethrow_exception(failure);
}

void TForm1::enablePhoneRead(bool enabled)
{
    suiButton1->setEnabled(enabled);
    N7->setEnabled(enabled);
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
    // No attempt may start a download after the clean-up, and a download still running ends
    // with the file it is copying, which is then recorded like every other copy.
    Timer1->stop();
    if (m_phoneDownload) {
        m_phoneDownload->stop();
        enablePhoneRead(true);
    }
    // Only what downloads wrote, under the names it was really written as: a file that lay in
    // StartDir before (its copy then took "a (1).drf"), was opened from disk, or is a copy the
    // user has changed since is kept.
    m_phoneCopies.removeAll();
}

} // namespace vocafetch
