// The kind of slip behind a wrong entry, named where the numbers show it. One
// classifier, used by the practice record, the tutor's words and the narration alike.
#pragma once

#include <string_view>

#include "events/LessonEvents.h"

enum class SlipKind {
    None,              // the entry was right
    MoreThanLeft,      // a multiple whose product is more than what is left
    TenTimesTooBig,    // a product ten times the right one
    TenTimesTooSmall,  // a product a tenth of the right one
    OneLotTooMany,     // a product one divisor over
    OneLotTooFew,      // a product one divisor under
    SubtractionSlip,   // a wrong remainder
    AdditionSlip,      // a wrong total
    NotQuite,          // wrong, in no way the numbers name
};

SlipKind classifySlip(const EntryChecked& entry);

// The slip's name in the record's files ("more-than-left"); empty for None.
std::string_view slipCode(SlipKind kind);

// A line's kind and the way a question was left, named as the record's files name
// them ("remainder", "restart-question").
std::string_view lineKindCode(LineKind kind);
std::string_view leftByCode(LeftBy by);
