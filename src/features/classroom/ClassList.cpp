// Reading a class list.
#include "features/classroom/ClassList.h"

#include <algorithm>

#include "words/Words.h"

namespace {

std::u16string withoutSpaces(const std::u16string& line) {
    const std::size_t first = line.find_first_not_of(u" \t\r\u00A0\uFEFF");
    if (first == std::u16string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(u" \t\r\u00A0\uFEFF") - first + 1);
}

}  // namespace

std::vector<std::u16string> readClassList(const std::string& text) {
    const std::u16string all = words::fromUtf8(text);
    std::vector<std::u16string> names;
    std::size_t start = 0;
    while (start <= all.size() && names.size() < largestClass) {
        std::size_t end = all.find(u'\n', start);
        if (end == std::u16string::npos) {
            end = all.size();
        }
        std::u16string name = withoutSpaces(all.substr(start, end - start));
        if (name.size() > longestPupilName) {
            // Not between the two halves of a character outside the BMP.
            const bool splitsPair =
                name[longestPupilName - 1] >= 0xD800 && name[longestPupilName - 1] < 0xDC00;
            name = withoutSpaces(name.substr(0, longestPupilName - (splitsPair ? 1 : 0)));
        }
        if (!name.empty() && name.front() != u'#' &&
            std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}
