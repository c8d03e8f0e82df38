#pragma once
// MkSqLite3Data: the date and time values of the SQLite layer and their one text form,
// "yyyy/mm/dd hh:nn:ss.zzz", in which dates are bound and read back.
#include <optional>
#include <string>

/// A date and time: days since 1899-12-30, the fraction being the time of day.
struct TDataHora {
    double Dias = 0;
    bool operator==(const TDataHora&) const = default;
};

/// "yyyy/mm/dd hh:nn:ss.zzz".
std::string mkDateToStr(TDataHora Data);
/// Reads a date ("yyyy/mm/dd"), a time ("hh:nn", "hh:nn:ss", "hh:nn:ss.zzz") or both separated by
/// blanks; throws "'<text>' is not a valid date and time" for anything else.
TDataHora mkStrToDate(const std::string& Texto);
/// mkStrToDate without the throw.
std::optional<TDataHora> TentaStrToDate(const std::string& Texto) noexcept;
