#include "app/ErrorText.h"
#include "extract/ExtractError.h"

#include <gtest/gtest.h>

using namespace vocafetch;

// The texts below are the window's Russian, its source language: no translation is installed.
// The failures the window's contract words keep those words; the others speak Russian.
TEST(ErrorTextTest, EachKindIsWordedWithItsFileAndReason)
{
    EXPECT_EQ(errorText(ExtractError("Cannot open a.drf. (gone.)", ErrorKind::NotReadable,
                                     "/x/a.drf", "No such file or directory")),
              "Cannot open /x/a.drf.\r\n(No such file or directory.)");
    EXPECT_EQ(errorText(ExtractError("cannot create r_1.amr", ErrorKind::CannotCreate, "/x/r_1.amr",
                                     "Disk full")),
              "Cannot create file \"/x/r_1.amr\". Disk full");
    EXPECT_EQ(errorText(ExtractError("\"/x/%2.drf\" changed while it was read",
                                     ErrorKind::ContainerChanged, "/x/%2.drf")),
              "Файл \"/x/%2.drf\" изменился, пока его читали");
    EXPECT_EQ(
        errorText(ExtractError("recording 2 holds no audio frame", ErrorKind::NothingToConvert)
                      .forRecording(2)),
        "В записи 2 нет ни одного звукового кадра");
}

TEST(ErrorTextTest, WithoutWordsOrTheFileTheyNeedTheCoresMessageIsShown)
{
    EXPECT_EQ(errorText(ExtractError("Invalid selection start")), "Invalid selection start");
    // A tag that could not be written names no file.
    EXPECT_EQ(errorText(ExtractError("the MP3 file could not be tagged", ErrorKind::CannotCreate)),
              "the MP3 file could not be tagged");
    // A recording's failure that does not say which recording.
    EXPECT_EQ(errorText(ExtractError("the decoder refused the frames", ErrorKind::Undecodable)),
              "the decoder refused the frames");
}
