#pragma once
// MkSqLite3Variant: the values of columns and parameters and their conversions. A conversion that
// cannot be made throws the layer's error "Could not convert variant of type (<type>) into type
// (<type>)".
#include "db/MkSqLite3Data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

/// The toolkit's field types, with their ordinal numbers.
enum TFieldType : std::uint8_t {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
    ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
    ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT,
    ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid,
    ftTimeStamp, ftFMTBcd
};

/// The null value (SQL NULL), as distinct from the empty (unassigned) one.
struct TVarNulo {
    bool operator==(const TVarNulo&) const = default;
};

using TBytes = std::vector<std::uint8_t>;

/// A column or parameter value: empty, null, integer, double, date-time, string or bytes.
using TMkVariant = std::variant<std::monostate, TVarNulo, std::int32_t, double, TDataHora, std::string, TBytes>;

bool VarIsEmpty(const TMkVariant& V) noexcept;
bool VarIsNull(const TMkVariant& V) noexcept;
/// Text of a value: empty and null give "", numbers their decimal text, a date-time mkDateToStr,
/// bytes themselves.
std::string VarToStr(const TMkVariant& V);
/// Integer of a value: a double is rounded, a text must be a decimal integer, empty is 0. Null, bytes
/// and any other text throw "Could not convert variant of type (<type>) into type (Integer)".
std::int32_t VarToInt(const TMkVariant& V);

/// SQLite's storage class of a null value (1 integer, 2 float, 3 text, 4 blob, 5 null).
inline constexpr std::int32_t CLASSE_NULL = 5;

/// A whole decimal integer, sign allowed, blanks around it ignored; none for anything else.
std::optional<long long> InteiroDeTexto(const std::string& Texto) noexcept;
/// The value as a 64-bit integer (a double rounded, a text a decimal integer, empty 0).
std::int64_t ComoInt64(const TMkVariant& V);
/// The value as a double (a text a decimal number, empty 0).
double ComoDouble(const TMkVariant& V);
/// The value as a date-time (a text read by mkStrToDate, a number counting days).
TDataHora ComoDataHora(const TMkVariant& V);
/// The value as a Boolean: "true"/"false" in any case, or a number other than 0.
bool ComoBooleano(const TMkVariant& V);
/// The storage class SQLite gives a value of this kind.
std::int32_t ClasseDoValor(const TMkVariant& V) noexcept;
