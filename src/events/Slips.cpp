// Slips are named from the typed value against the right one. A product is the line
// where the named slips are told apart; a wrong remainder is always a subtraction slip
// and a wrong total an addition slip, since that is the sum each line asks for.
#include "events/Slips.h"

#include <array>
#include <cstddef>
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

// The codes the practice record writes, in each enum's order: records already kept
// rely on them, so a code is never changed, and a new value is added with its code.
namespace {

constexpr std::array<std::string_view, 9> slipCodes = {"",  // None: the entry was right
                                                       "more-than-left",
                                                       "ten-times-too-big",
                                                       "ten-times-too-small",
                                                       "one-lot-too-many",
                                                       "one-lot-too-few",
                                                       "subtraction-slip",
                                                       "addition-slip",
                                                       "not-quite"};
static_assert(slipCodes.size() == static_cast<std::size_t>(SlipKind::NotQuite) + 1);

constexpr std::array<std::string_view, 4> lineKindCodes = {"multiple", "product", "remainder",
                                                           "total"};
static_assert(lineKindCodes.size() == static_cast<std::size_t>(LineKind::Total) + 1);

constexpr std::array<std::string_view, 4> leftByCodes = {"new-question", "restart-question",
                                                         "create-question", "exit"};
static_assert(leftByCodes.size() == static_cast<std::size_t>(LeftBy::Exit) + 1);

}  // namespace

std::string_view slipCode(SlipKind kind) {
    return slipCodes.at(static_cast<std::size_t>(kind));
}

std::string_view lineKindCode(LineKind kind) {
    return lineKindCodes.at(static_cast<std::size_t>(kind));
}

std::string_view leftByCode(LeftBy by) {
    return leftByCodes.at(static_cast<std::size_t>(by));
}
