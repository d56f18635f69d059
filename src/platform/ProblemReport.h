// Problems a teacher can mend, such as a missing picture or a level that can give no
// question, reported as one line each on standard error, so that whoever starts the
// program from a terminal learns what is wrong. The program goes on as before.
#pragma once

#include <string>

// Writes "bricketing: " and the message as one line on standard error.
void reportProblem(const std::string& message);
