// Where a teacher's class list is found: Data/class.txt beside the levels on the
// desktop (the teacher's configuration folder for an installed Linux copy), and on the
// web the list a teacher entered in the page or a class.txt beside the site. Each
// backend installs its store; with none, or no list, the program asks for no name.
#pragma once

#include <optional>
#include <string>

class ClassListStore {
public:
    virtual ~ClassListStore() = default;
    // The class list's text (UTF-8, one name a line); nothing when there is none.
    virtual std::optional<std::string> read() = 0;
    // The pupil has picked their name. The desktop needs nothing more (its settings find
    // the pupil's folder themselves); the web tells the page, which keeps the pupil's
    // settings under their own key and offers the next pupil at the end.
    virtual void pupilChosen(const std::u16string& /*name*/) {}
};

// The pointer is not owned; null (the default) means no class list.
void installClassListStore(ClassListStore* store);
ClassListStore* classListStore();
