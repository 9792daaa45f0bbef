#pragma once

#include "RecordingGenerator.h"

// The sample containers the generator writes: small ones that show every kind of recording.
namespace RecGen {

// A multipart body: real narrow-band speech (several modes, SID and NO_DATA frames), an image
// part, a wide-band recording, then trailing container bytes.
ContainerBuilder multipartSample();

// Recordings between plain container bytes: narrow band with damaged frames, wide band, a
// two-channel narrow-band recording, and a last recording cut off inside a frame.
ContainerBuilder mixedSample();

} // namespace RecGen
