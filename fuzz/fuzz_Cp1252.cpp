// The CP1252 conversions on any bytes: CP1252 text goes to UTF-8 and back unchanged, every byte
// through its code point and back, and any UTF-8 (malformed too) comes to CP1252 text that makes the
// same round trip.
#include "Entrada.h"
#include "platform/Cp1252.h"

#include <cstdio>

namespace {

void Confere(bool Certo, const char* Motivo)
{
    if (!Certo) {
        std::fprintf(stderr, "%s\n", Motivo);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Dados, std::size_t Tamanho)
{
    const std::string_view Texto(reinterpret_cast<const char*>(Dados), Tamanho);
    Confere(Utf8ParaCp1252(Cp1252ParaUtf8(Texto)) == Texto, "CP1252 -> UTF-8 -> CP1252 changed the text");
    for (const unsigned char Byte : Texto)
        Confere(static_cast<unsigned char>(Cp1252DeUnicode(Cp1252ParaUnicode(Byte))) == Byte, "a byte does not come back");
    const std::string Cp1252 = Utf8ParaCp1252(Texto);
    Confere(Cp1252.size() <= Texto.size(), "UTF-8 -> CP1252 grew");
    Confere(Utf8ParaCp1252(Cp1252ParaUtf8(Cp1252)) == Cp1252, "UTF-8 -> CP1252 gave text that does not come back");
    return 0;
}
