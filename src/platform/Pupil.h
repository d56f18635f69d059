// The pupil practising on a shared device, once a class list has named them. The
// platform's stores keep each named pupil's settings and practice record apart (a
// folder per pupil on the desktop, keys per pupil in a browser); with no name chosen
// the stores keep the account's or the device's own, as they always have.
#pragma once

#include <string>

void setCurrentPupil(const std::u16string& name);
const std::u16string& currentPupil();  // empty: no class list, or none chosen yet
// A name as it is written in the practice record: UTF-8.
std::string pupilNameUtf8(const std::u16string& name);

// The pupil's name as one file or key name in UTF-8, in any script: characters that a
// file system or a path would take for something else become "_", leading and trailing
// dots and spaces go, and it is cut at 64 bytes on a character boundary. A name with
// nothing left gives "_"; a name Windows keeps for a device ("Con", "Nul") gains a "_".
std::string pupilFileName(const std::u16string& name);
