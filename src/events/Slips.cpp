// Slips are named from the typed value against the right one. A product is the line
// where the named slips are told apart; a wrong remainder is always a subtraction slip
// and a wrong total an addition slip, since that is the sum each line asks for.
#include "events/Slips.h"

#include <cstdint>

namespace {

SlipKind productSlip(const EntryChecked& entry) {
    const std::int64_t typed = entry.typed;
    const std::int64_t expected = entry.expected.value_or(0);
    if (expected != 0 && typed == expected * 10) {
        return SlipKind::TenTimesTooBig;
    }
    if (typed != 0 && typed * 10 == expected) {
        return SlipKind::TenTimesTooSmall;
    }
    if (typed == expected + entry.divisor) {
        return SlipKind::OneLotTooMany;
    }
    if (typed == expected - entry.divisor) {
        return SlipKind::OneLotTooFew;
    }
    return SlipKind::NotQuite;
}

}  // namespace

SlipKind classifySlip(const EntryChecked& entry) {
    if (entry.right) {
        return SlipKind::None;
    }
    switch (entry.kind) {
        case LineKind::Multiple:
            return SlipKind::MoreThanLeft;
        case LineKind::Product:
            return productSlip(entry);
        case LineKind::Remainder:
            return SlipKind::SubtractionSlip;
        case LineKind::Total:
            return SlipKind::AdditionSlip;
    }
    return SlipKind::NotQuite;
}

std::string_view slipCode(SlipKind kind) {
    switch (kind) {
        case SlipKind::None:
            return "";
        case SlipKind::MoreThanLeft:
            return "more-than-left";
        case SlipKind::TenTimesTooBig:
            return "ten-times-too-big";
        case SlipKind::TenTimesTooSmall:
            return "ten-times-too-small";
        case SlipKind::OneLotTooMany:
            return "one-lot-too-many";
        case SlipKind::OneLotTooFew:
            return "one-lot-too-few";
        case SlipKind::SubtractionSlip:
            return "subtraction-slip";
        case SlipKind::AdditionSlip:
            return "addition-slip";
        case SlipKind::NotQuite:
            return "not-quite";
    }
    return "not-quite";
}

std::string_view lineKindCode(LineKind kind) {
    switch (kind) {
        case LineKind::Multiple:
            return "multiple";
        case LineKind::Product:
            return "product";
        case LineKind::Remainder:
            return "remainder";
        case LineKind::Total:
            return "total";
    }
    return "multiple";
}

std::string_view leftByCode(LeftBy by) {
    switch (by) {
        case LeftBy::NewQuestion:
            return "new-question";
        case LeftBy::RestartQuestion:
            return "restart-question";
        case LeftBy::CreateQuestion:
            return "create-question";
        case LeftBy::Exit:
            return "exit";
    }
    return "exit";
}
