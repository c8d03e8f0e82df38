#include "config/TransHab.h"

#include "config/Kovan_INI.h"
#include "platform/Ascii.h"
#include "platform/Cp1252.h"

namespace {

constexpr const char* Secao = "TrnHabilitada";

const char* Marca(bool Marcado)
{
    return Marcado ? "1" : "0";
}

bool UmOuDoisDigitos(const std::string& Texto)
{
    return !Texto.empty() && Texto.size() <= 2 && Texto.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

namespace RegrasTransHab {

std::optional<TErroTransHab> Valida(const TTransHab& Valores, bool ParcelasHabilitadas)
{
    const std::string& Parcelas = Valores.NumeroParcelas;
    if (ParcelasHabilitadas && Parcelas.empty())
        return TErroTransHab::InformeParcelas;
    if (ParcelasHabilitadas && (Parcelas == "0" || Parcelas == "00"))
        return TErroTransHab::ParcelasInvalido;
    if (!Parcelas.empty() && !UmOuDoisDigitos(Parcelas))
        return TErroTransHab::ParcelasInvalido;
    return std::nullopt;
}

const std::string& Mensagem(TErroTransHab Erro)
{
    static const std::string Textos[] = {Utf8ParaCp1252("Informe o número de parcelas."),
                                         Utf8ParaCp1252("Número de parcelas inválido.")};
    return Textos[static_cast<int>(Erro)];
}

std::string MontaLog(const std::string& Operacao, const std::string& Empresa, const TTransHab& Valores,
                     bool ParceladoAdm)
{
    std::string Linha = Utf8ParaCp1252("Mirabelo/Transações Habilitadas/") + Empresa;
    if (MaiusculasAscii(Operacao) != "INCLUSAO")
        return Linha + Utf8ParaCp1252(" - Opção Exclusão");
    Linha += "\r\nDebVista: ";
    Linha += Marca(Valores.DebitoVista);
    Linha += "; DebParcAdm: ";
    Linha += Marca(ParceladoAdm);
    Linha += "; DebParcEstab: ";
    Linha += Marca(Valores.ParceladoJurosEstabelecimento);
    Linha += "; DebCanc: ";
    Linha += Marca(Valores.Cancelamento);
    Linha += "; DebNParc: " + Valores.NumeroParcelas + ";";
    return Linha;
}

} // namespace RegrasTransHab

TCargaTransHab CarregaTransHab(const std::string& Raiz, const std::string& Empresa) noexcept
{
    TCargaTransHab Carga;
    try {
        TKovanIni Ini(Raiz, "Mirabelo", Empresa);
        if (!Ini.ExistiaAoCriar())
            return Carga;
        Ini.IniciaLote();  // the four keys from one parse of the file
        const std::string Vista = Ini.LeVar(Secao, "DebitoVista", "");
        Carga.Configurada = !Vista.empty();
        if (Carga.Configurada)
            Carga.Valores = {Vista == "1", Ini.LeVar(Secao, "Cancelamento", "") == "1",
                             Ini.LeVar(Secao, "ParceladoJurosEstabelecimento", "") == "1",
                             Ini.LeVar(Secao, "NumeroParcelas", "")};
    } catch (...) {
    }
    return Carga;
}

bool SalvaTransHab(const std::string& Raiz, const std::string& Empresa, const TTransHab& Valores,
                   const TAuditoria& Auditoria, bool ParceladoAdm) noexcept
{
    try {
        TKovanIni Ini(Raiz, "Mirabelo", Empresa);
        if (!Ini.IniciaLote())
            return false;
        if (Auditoria)
            Auditoria(RegrasTransHab::MontaLog("INCLUSAO", Empresa, Valores, ParceladoAdm));
        Ini.GravaVar(Secao, "DebitoVista", Marca(Valores.DebitoVista));
        Ini.GravaVar(Secao, "Cancelamento", Marca(Valores.Cancelamento));
        Ini.GravaVar(Secao, "ParceladoJurosEstabelecimento", Marca(Valores.ParceladoJurosEstabelecimento));
        Ini.GravaVar(Secao, "NumeroParcelas", Valores.NumeroParcelas);
        return Ini.ConfirmaLote();
    } catch (...) {
        return false;
    }
}

bool ApagaTransHab(const std::string& Raiz, const std::string& Empresa, const TAuditoria& Auditoria) noexcept
{
    try {
        TKovanIni Ini(Raiz, "Mirabelo", Empresa);
        if (!Ini.Existe())
            return false;
        if (Auditoria)
            Auditoria(RegrasTransHab::MontaLog("EXCLUSAO", Empresa, {}));
        Ini.RemoveSec(Secao);
        return true;
    } catch (...) {
        return false;
    }
}
