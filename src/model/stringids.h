// Ids of the numbered string table used by the code, named once.
#pragma once

namespace vg::sid {

// Captions
inline constexpr int kCaptionEditControl = 61245;

// Input messages
inline constexpr int kOutOfRange = 61223;
inline constexpr int kInputTooLong = 61257;
inline constexpr int kIncorrectInput = 61260;
inline constexpr int kInvalidUpcE = 61261;
inline constexpr int kFirstMustBe0 = 61262;
inline constexpr int kFixedLengthTooLong = 61263;
inline constexpr int kInvalidDate = 61264;
inline constexpr int kEvenDigits = 61386;
inline constexpr int kOddDigits = 61387;
inline constexpr int kFixedLengthIncomplete = 61388;
inline constexpr int kErrorNumber = 61389;
inline constexpr int kConvertFirst0 = 61423;
inline constexpr int kFirstMustBe1 = 61427;

}  // namespace vg::sid
