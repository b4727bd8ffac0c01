// A picture reader fed any bytes: built once per format, each build taking
// only the files that start with its format's magic (PICTURE_MAGIC).
#include "picture_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzing::setUpPictureReading();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::readPictureInput(data, size, PICTURE_MAGIC);
    return 0;
}
