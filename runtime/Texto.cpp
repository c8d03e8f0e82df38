#include "runtime/Texto.h"

#include "platform/Cp1252.h"

QString QStringDeCp1252(std::string_view Texto)
{
    // Every CP1252 byte is one UTF-16 unit.
    QString Saida(static_cast<qsizetype>(Texto.size()), Qt::Uninitialized);
    QChar* P = Saida.data();
    for (const char C : Texto)
        *P++ = QChar(static_cast<char16_t>(Cp1252ParaUnicode(static_cast<unsigned char>(C))));
    return Saida;
}

std::string Cp1252DeQString(const QString& Texto)
{
    std::string Saida(static_cast<std::size_t>(Texto.size()), '\0');
    std::size_t N = 0;
    const QChar* P = Texto.constData();
    const QChar* const Fim = P + Texto.size();
    for (; P < Fim; ++P) {
        const char16_t U = P->unicode();
        if (U < 0x80) {
            Saida[N++] = static_cast<char>(U);
        } else if (QChar::isSurrogate(U)) {
            // A character beyond the 16-bit range (a pair, or a lone half) has no byte: one '?'.
            if (QChar::isHighSurrogate(U) && P + 1 < Fim && (P + 1)->isLowSurrogate())
                ++P;
            Saida[N++] = '?';
        } else {
            Saida[N++] = Cp1252DeUnicode(U);
        }
    }
    Saida.resize(N);
    return Saida;
}
