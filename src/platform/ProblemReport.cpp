// The one line per problem on standard error.
#include "platform/ProblemReport.h"

#include <iostream>

void reportProblem(const std::string& message) {
    std::cerr << "bricketing: " << message << std::endl;
}
