#pragma once

#include "recording/file_bytes.h"

// The copy of a recording without route data: in every block that holds a whole header, the
// longitude becomes 180.0, the latitude 90.0 and the route word 0; the speed, the time of day
// and every frame stay byte for byte. A last block too short for the header is copied as it
// is, so the copy always has the recording's size. The block size comes from the bytes' own
// layout probe; the caller makes sure they reach the probe byte.
//
// Takes the recording by value and rewrites it in place: a caller that no longer needs the
// original moves it in and no second copy of a large file is made.
FileBytes RouteFreeCopy(FileBytes recording);
