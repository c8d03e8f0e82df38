#include "support/EventLog.h"

#include "LogEventosTeste.h"
#include "RaizTeste.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string UsuarioEfetivo()
{
    const passwd* Registro = getpwuid(geteuid());
    return Registro ? Registro->pw_name : "";
}

// Each entry is one line appended to the file (never rewritten): the user, source and executable
// lines, a blank line, the message (CP1252, control characters, quotes and backslashes read back as
// written); the event type as given and the identifier from the kind.
TEST(TrilhaAuditoria, EntradasAcrescentadasLidasDeVolta)
{
    const TRaizTeste Raiz;
    const TLogEventosTeste Log(Raiz.Pasta / "auditoria.jsonl");
    const struct { std::uint16_t Especie; std::uint32_t Tipo, Identificador; } Casos[] = {
        {1, 4, 0x80000002u}, {2, 2, 0xC0000003u}, {0, 4, 0x40000000u}, {3, 4, 0x40000000u}};
    std::ofstream(Raiz.Pasta / "auditoria.jsonl") << "{\"anterior\":true}\n";
    TEvtLog Evt("CfKovan", "/opt/kovan/cfkovan");
    for (const auto& Caso : Casos)
        Evt.LogMsg("Mirabelo/Estabelecimento/00000123\r\nTransa\xE7\xF5""es\t\"a\\b\"\x01\x1F\x7F\x80", Caso.Tipo, Caso.Especie);

    const std::string Texto = "Usuário.....:" + UsuarioEfetivo() +
                              "\nFonte.......:CfKovan\nExecutável..:/opt/kovan/cfkovan\n\n"
                              "Mirabelo/Estabelecimento/00000123\r\nTransações\t\"a\\b\"\x01\x1F\x7F€";
    const auto Lidas = Log.Entradas();
    ASSERT_EQ(Lidas.size(), 1u + std::size(Casos));
    EXPECT_EQ(Lidas[0], nlohmann::json::parse("{\"anterior\":true}"));
    for (std::size_t I = 0; I < std::size(Casos); ++I)
        EXPECT_EQ(Lidas[I + 1], (nlohmann::json{{"source", "Kovan"}, {"type", Casos[I].Tipo}, {"category", 0},
                                                {"id", Casos[I].Identificador}, {"text", Texto}}))
            << Casos[I].Especie;
}

TEST(TrilhaAuditoria, LinhasCortadasEm255)
{
    TEvtLog Log(std::string(300, 'f'), std::string(300, 'e'));
    const std::string Texto = Log.MontaTexto("M");
    // "Fonte.......:" is 13 bytes, so 242 of the source fit on its line.
    EXPECT_NE(Texto.find("\nFonte.......:" + std::string(242, 'f') + "\n"), std::string::npos);
    EXPECT_NE(Texto.find("\nExecut\xE1vel..:" + std::string(242, 'e') + "\n\nM"), std::string::npos);
}

TEST(TrilhaAuditoria, ArquivoInacessivelDitoUmaVezNoStderr)
{
    const TRaizTeste Raiz;
    const TLogEventosTeste Log(Raiz.Pasta);  // a folder cannot take an entry
    TEvtLog Evt("CfKovan", "x");
    testing::internal::CaptureStderr();
    Evt.LogMsg("primeira", 4, 1);
    Evt.LogMsg("segunda", 4, 1);
    const std::string Erros = testing::internal::GetCapturedStderr();
    EXPECT_NE(Erros.find("KOVAN_EVENTLOG cannot be written"), std::string::npos) << Erros;
    EXPECT_EQ(Erros.find("KOVAN_EVENTLOG"), Erros.rfind("KOVAN_EVENTLOG")) << "said once: " << Erros;
}

} // namespace
