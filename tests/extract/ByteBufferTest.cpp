#include "extract/ByteBuffer.h"
#include "extract/ExtractError.h"
#include "extract/InProcessClipboard.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

using namespace vocafetch;

namespace {

class ByteBufferTest : public ::testing::Test
{
protected:
    std::unique_ptr<TByteBuffer> loaded(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("data.bin"));
        writeFile(path, bytes);
        auto buffer = std::make_unique<TByteBuffer>(clipboard);
        buffer->LoadFromFile(path);
        return buffer;
    }

    QTemporaryDir dir;
    InProcessClipboard clipboard;
};

// The plain byte-by-byte scan that Find must agree with.
qint32 naiveFind(const QByteArray &data, const QByteArray &pattern, qint32 count, qint32 start,
                 qint32 end, bool ignoreCase)
{
    const auto &lower = TByteBuffer::lowercaseTable();
    end = std::min<qint32>(end, data.size() - 1);
    for (qint32 s = start; s >= 0 && s + count - 1 <= end; ++s) {
        qint32 k = 0;
        while (k < count) {
            unsigned char b = static_cast<unsigned char>(data[s + k]);
            if (ignoreCase)
                b = lower[b];
            if (b != static_cast<unsigned char>(pattern[k]))
                break;
            ++k;
        }
        if (k == count && count > 0)
            return s;
    }
    return -1;
}

TEST_F(ByteBufferTest, SelectionBoundsAndMessages)
{
    TByteBuffer empty(clipboard);
    EXPECT_EQ(empty.FileName(), "Untitled");
    EXPECT_TRUE(empty.ReadOnlyFile());
    EXPECT_THROW_MESSAGE(empty.SetSelStart(0), "Invalid selection start");
    EXPECT_THROW_MESSAGE(empty.SetSelEnd(0), "Invalid selection end");
    EXPECT_NO_THROW(empty.SetSelEnd(-1));
    EXPECT_EQ(empty.SelCount(), 0);

    auto one = loaded("A");
    EXPECT_NO_THROW(one->SetSelStart(0));
    EXPECT_THROW_MESSAGE(one->SetSelEnd(1), "Invalid selection end");
    EXPECT_THROW_MESSAGE(one->SetSelStart(-1), "Invalid selection start");

    auto buffer = loaded(filler(100));
    buffer->SetSelStart(10);
    buffer->SetSelEnd(20);
    EXPECT_EQ(buffer->SelCount(), 11);
    // A refused end leaves cursor and selection as they were.
    EXPECT_THROW_MESSAGE(buffer->SetSelEnd(100), "Invalid selection end");
    EXPECT_THROW_MESSAGE(buffer->SetSelEnd(-2), "Invalid selection end");
    EXPECT_THROW_MESSAGE(buffer->SetSelStart(100), "Invalid selection start");
    EXPECT_EQ(buffer->CursorPosition(), 10);
    EXPECT_EQ(buffer->CurrentSelection().low, 10);
    EXPECT_EQ(buffer->CurrentSelection().high, 20);

    // Backwards: from 20 down to 10, anchored at the cursor.
    buffer->SetSelStart(20);
    buffer->SetSelEnd(10);
    EXPECT_EQ(buffer->CurrentSelection().anchor, 20);
    EXPECT_EQ(buffer->CurrentSelection().low, 10);
    EXPECT_EQ(buffer->CurrentSelection().high, 20);
    EXPECT_EQ(buffer->CursorPosition(), 20);
    buffer->SetSelEnd(-1);
    EXPECT_EQ(buffer->SelCount(), 0);

    buffer->SelectAll();
    EXPECT_EQ(buffer->SelCount(), 100);
    EXPECT_EQ(buffer->CursorPosition(), 99);
}

TEST_F(ByteBufferTest, FindStaysWithinTheData)
{
    TByteBuffer probe(clipboard);
    const QByteArray amr = probe.PrepareFindData("#!AMR", true, false);
    EXPECT_EQ(amr, "#!amr");

    QByteArray data = filler(50);
    place(data, 45, "#!AMR"); // its last byte is the data's last byte
    auto buffer = loaded(data);
    EXPECT_EQ(buffer->Find(amr, 5, 0, buffer->DataSize() - 1, true), 45);
    EXPECT_EQ(buffer->Find(amr, 5, 45, buffer->DataSize() - 1, true), 45);
    EXPECT_EQ(buffer->Find(amr, 5, 46, buffer->DataSize() - 1, true), -1);
    EXPECT_EQ(buffer->Find(amr, 5, buffer->DataSize() - 4, buffer->DataSize() - 1, true), -1);
    // A match must lie wholly before end; an end past the data is clipped.
    EXPECT_EQ(buffer->Find(amr, 5, 0, 48, true), -1);
    EXPECT_EQ(buffer->Find(amr, 5, 0, 1000, true), 45);
    // Count beyond the pattern, or below 1, finds nothing.
    EXPECT_EQ(buffer->Find(amr, 6, 0, 49, true), -1);
    EXPECT_EQ(buffer->Find(amr, 0, 0, 49, true), -1);
}

TEST_F(ByteBufferTest, FindIgnoresLetterCaseOnlyWhenAsked)
{
    auto buffer = loaded("x#!amr..#!AmR");
    const QByteArray lowered = buffer->PrepareFindData("#!AMR", true, false);
    EXPECT_EQ(buffer->Find(lowered, 5, 0, 12, true), 1);
    EXPECT_EQ(buffer->Find(lowered, 5, 2, 12, true), 8);
    // Case-sensitive: only the exact bytes match.
    EXPECT_EQ(buffer->Find("#!AmR", 5, 0, 12, false), 8);
    // An upper-case pattern byte never matches under ignoreCase.
    EXPECT_EQ(buffer->Find("#!AMR", 5, 0, 12, true), -1);
    // Only letters are folded: no other byte lowers onto an ASCII letter.
    const auto &lower = TByteBuffer::lowercaseTable();
    for (int b = 0; b < 256; ++b) {
        const bool capital = b >= 'A' && b <= 'Z';
        const int l = lower[b];
        if (capital) {
            EXPECT_EQ(l, b + 32);
        } else if ((l >= 'a' && l <= 'z') || (l >= 'A' && l <= 'Z')) {
            EXPECT_EQ(l, b) << b;
        }
    }
}

TEST_F(ByteBufferTest, FindAgreesWithTheNaiveScan)
{
    QRandomGenerator random(7);
    // A small alphabet makes partial and overlapping matches frequent.
    const QByteArray alphabet("aAbB#\x06!", 7);
    for (int round = 0; round < 200; ++round) {
        QByteArray data(1 + random.bounded(80), '\0');
        for (char &c : data)
            c = alphabet[random.bounded(alphabet.size())];
        QByteArray text(1 + random.bounded(4), '\0');
        for (char &c : text)
            c = alphabet[random.bounded(alphabet.size())];
        auto buffer = loaded(data);
        for (bool ignoreCase : {false, true}) {
            const QByteArray pattern = buffer->PrepareFindData(text, ignoreCase, false);
            const qint32 start = random.bounded(data.size());
            const qint32 end = random.bounded(data.size() + 3);
            ASSERT_EQ(buffer->Find(pattern, pattern.size(), start, end, ignoreCase),
                      naiveFind(data, pattern, pattern.size(), start, end, ignoreCase))
                << data.toHex().toStdString() << " / " << pattern.toStdString();
        }
    }
}

TEST_F(ByteBufferTest, CopyPutsTheSelectionInThePrivateBlock)
{
    QByteArray data(40, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i + 1);
    data[15] = '\0';
    auto buffer = loaded(data);
    EXPECT_FALSE(buffer->CopyToClipboard()); // nothing selected
    EXPECT_TRUE(clipboard.formats().isEmpty());

    buffer->SetSelStart(10);
    buffer->SetSelEnd(20);
    ASSERT_TRUE(buffer->CopyToClipboard());
    const QByteArray block = clipboard.data(ClipboardFormat::Private);
    ASSERT_EQ(block.size(), 12 + 11);
    EXPECT_EQ(block.left(4), "BBCF");
    EXPECT_EQ(block.mid(4, 4), QByteArray("\x01\x00\x01\x00", 4));
    EXPECT_EQ(block.mid(8, 4), QByteArray("\x0b\x00\x00\x00", 4));
    EXPECT_EQ(block.mid(12), data.mid(10, 11));
    // The text stops at the zero byte at offset 15 (the sixth copied byte).
    EXPECT_EQ(clipboard.data(ClipboardFormat::Text), data.mid(10, 5) + QByteArray(1, '\0'));
    EXPECT_EQ(clipboard.data(ClipboardFormat::FileContents), data.mid(10, 11));
}

TEST_F(ByteBufferTest, PasteRoundTripAndRefusals)
{
    const QByteArray data("0123456789abcdef");
    auto source = loaded(data);
    source->SetSelStart(3);
    source->SetSelEnd(8);
    ASSERT_TRUE(source->CopyToClipboard());

    TByteBuffer target(clipboard);
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Data(), "345678");
    EXPECT_TRUE(target.Modified());
    EXPECT_EQ(target.CurrentSelection().low, 0);
    EXPECT_EQ(target.CurrentSelection().high, 5);
    EXPECT_EQ(target.CursorPosition(), 5);

    // Pasting over a selection replaces it and selects the new bytes.
    target.SetSelStart(1);
    target.SetSelEnd(2);
    ASSERT_TRUE(target.PasteFromClipboard());
    EXPECT_EQ(target.Data(), "3345678678");
    EXPECT_EQ(target.CurrentSelection().anchor, 6);
    EXPECT_EQ(target.CurrentSelection().low, 1);
    EXPECT_EQ(target.CurrentSelection().high, 6);

    // A block with a wrong header pastes nothing.
    struct ForeignClipboard : Clipboard
    {
        QByteArray block;
        void setData(std::shared_ptr<const ClipboardData>) override {}
        bool holds(const ClipboardData *) const override { return false; }
        QStringList formats() const override { return {ClipboardFormat::Private}; }
        QByteArray data(const QString &) const override { return block; }
        void clear() override {}
    } foreign;
    TByteBuffer victim(foreign);
    foreign.block = makePrivateClipboardBlock("abc");
    foreign.block[0] = 'X';
    EXPECT_FALSE(victim.PasteFromClipboard());
    EXPECT_EQ(victim.DataSize(), 0);
    EXPECT_FALSE(victim.Modified());
    foreign.block = makePrivateClipboardBlock("abc");
    EXPECT_TRUE(victim.PasteFromClipboard());
    EXPECT_EQ(victim.Data(), "abc");
}

TEST_F(ByteBufferTest, CutShrinksTheDataAndOwnObjectLeavesWithTheBuffer)
{
    auto buffer = loaded("0123456789");
    buffer->SetSelStart(7);
    buffer->SetSelEnd(9);
    ASSERT_TRUE(buffer->CutToClipboard());
    EXPECT_EQ(buffer->Data(), "0123456");
    EXPECT_EQ(buffer->CursorPosition(), 6); // old low end 7 lies past the data now
    EXPECT_EQ(buffer->SelCount(), 0);
    EXPECT_TRUE(buffer->Modified());
    buffer->SelectAll();
    ASSERT_TRUE(buffer->CutToClipboard());
    EXPECT_EQ(buffer->DataSize(), 0);
    EXPECT_EQ(buffer->CursorPosition(), 0);
    EXPECT_FALSE(buffer->CutToClipboard());
    EXPECT_EQ(readPrivateClipboardBlock(clipboard.data(ClipboardFormat::Private)).value(),
              "0123456");

    buffer.reset();
    EXPECT_TRUE(clipboard.formats().isEmpty());

    // A buffer whose object was replaced by another's leaves the clipboard alone.
    auto first = loaded("first");
    first->SelectAll();
    ASSERT_TRUE(first->CopyToClipboard());
    TByteBuffer second(clipboard);
    second.PasteFromClipboard();
    second.SelectAll();
    ASSERT_TRUE(second.CopyToClipboard());
    first.reset();
    EXPECT_EQ(readPrivateClipboardBlock(clipboard.data(ClipboardFormat::Private)).value(), "first");
}

TEST_F(ByteBufferTest, LoadFailuresCarryTheSystemText)
{
    const QString missing = dir.filePath(QStringLiteral("none.drf"));
    TByteBuffer buffer(clipboard);
    EXPECT_THROW_MESSAGE(buffer.LoadFromFile(missing),
                         "Cannot open " + missing + ". (No such file or directory.)");
    EXPECT_THROW_MESSAGE(buffer.LoadFromFile(dir.path()),
                         "Cannot open " + dir.path() + ". (Is a directory.)");
    EXPECT_EQ(buffer.FileName(), "Untitled");
}

TEST_F(ByteBufferTest, OversizedFileIsRefusedAndNothingChanges)
{
    const QString big = dir.filePath(QStringLiteral("big.drf"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(TByteBuffer::MaxDataSize + 1)); // sparse: takes no disk space
    }
    auto buffer = loaded("kept");
    buffer->SetSelStart(1);
    buffer->SetSelEnd(2);
    const QString before = buffer->FileName();
    EXPECT_THROW_MESSAGE(buffer->LoadFromFile(big),
                         "Cannot open file \"" + QDir::toNativeSeparators(big) +
                             "\". The file is 2147483648 bytes long; at most 2147483647 bytes "
                             "can be loaded. vocafetch-cli handles larger images.");
    EXPECT_EQ(buffer->Data(), "kept");
    EXPECT_EQ(buffer->FileName(), before);
    EXPECT_EQ(buffer->SelCount(), 2);
}

TEST_F(ByteBufferTest, SaveAdoptsTheFileAndBacksUpOnlyItsOwn)
{
    auto buffer = loaded("abc");
    const QString target = dir.filePath(QStringLiteral("out.amr"));
    buffer->SaveToFile(target, true);
    EXPECT_EQ(readFile(target), "abc");
    EXPECT_EQ(buffer->FileName(), target);
    EXPECT_FALSE(buffer->ReadOnlyFile());
    EXPECT_FALSE(QFile::exists(target + ".bak"));

    // Saving a modified buffer under its own name keeps the old version as ".bak".
    buffer->SelectAll();
    buffer->CutToClipboard();
    buffer->PasteFromClipboard();
    buffer->SetSelStart(0);
    buffer->PasteFromClipboard();
    buffer->SaveToFile(target, true);
    EXPECT_EQ(readFile(target), "abcabc");
    EXPECT_EQ(readFile(target + ".bak"), "abc");

    TByteBuffer fresh(clipboard);
    EXPECT_THROW_MESSAGE(fresh.SaveToFile("Untitled", true), "Cannot save readonly file Untitled.");

    const QString noFolder = dir.filePath(QStringLiteral("missing/out.amr"));
    try {
        buffer->SaveToFile(noFolder, true);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const ExtractError &error) {
        EXPECT_TRUE(error.message().startsWith("Cannot create file \"" +
                                               QDir::toNativeSeparators(noFolder) + "\". "))
            << error.message().toStdString();
    }
    EXPECT_EQ(buffer->FileName(), target);
}

TEST_F(ByteBufferTest, FailedSaveLeavesTheExistingFileIntactAndNoPartialFile)
{
    const QString target = dir.filePath(QStringLiteral("rec_1.amr"));
    writeFile(target, "the user's old recording");
    auto buffer = loaded(QByteArray(256 * 1024, 'z'));

    // A file-size limit makes the write fail part-way, as a full disk would.
    struct rlimit old
    {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        buffer->SaveToFile(target, true);
    } catch (const ExtractError &error) {
        threw = error.message().startsWith("Cannot create file \"");
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readFile(target), "the user's old recording");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"data.bin", "rec_1.amr"}));
    EXPECT_NE(buffer->FileName(), target);
}

} // namespace
