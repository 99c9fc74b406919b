// The few settings Exiv2 keeps for the whole process, made once before the
// first file is read, from whichever thread reads first.
#pragma once

namespace platform {

void PrepareExiv2();

}  // namespace platform
