#include "runtime/Texto.h"

#include "platform/Cp1252.h"

QString QStringDeCp1252(std::string_view Texto)
{
    QString Saida;
    Saida.reserve(static_cast<qsizetype>(Texto.size()));
    for (char C : Texto)
        Saida += QChar(static_cast<char16_t>(Cp1252ParaUnicode(static_cast<unsigned char>(C))));
    return Saida;
}

std::string Cp1252DeQString(const QString& Texto)
{
    std::string Saida;
    Saida.reserve(static_cast<std::size_t>(Texto.size()));
    for (const char32_t C : Texto.toUcs4())
        Saida += Cp1252DeUnicode(C);
    return Saida;
}
