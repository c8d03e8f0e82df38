#include "support/ConfigComponentes.h"

#include "config/Lib.h"
#include "platform/Ascii.h"
#include "platform/Files.h"
#include "runtime/Application.h"
#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/Grids.h"
#include "runtime/IniFiles.h"
#include "runtime/StdCtrls.h"
#include "support/msgmodulos.h"

#include <QWidget>

namespace {

std::string Cabeca(const std::string& Texto, char Ate)
{
    const std::size_t Posicao = Texto.find(Ate);
    return Posicao == std::string::npos ? std::string() : Texto.substr(0, Posicao + 1);
}

std::string EntreAspas(const std::string& Texto)
{
    return '"' + Texto + '"';
}

// Dictionary path with its extension replaced by ".esp".
std::string CaminhoArmazem(const std::string& Dicionario)
{
    const std::size_t Barra = Dicionario.find_last_of("\\/");
    const std::size_t Ponto = Dicionario.rfind('.');
    const bool TemExtensao = Ponto != std::string::npos && (Barra == std::string::npos || Ponto > Barra);
    return Corta255((TemExtensao ? Dicionario.substr(0, Ponto) : Dicionario) + ".esp");
}

std::string NomeArquivo(const std::string& Caminho)
{
    const std::size_t Barra = Caminho.find_last_of("\\/");
    return Barra == std::string::npos ? Caminho : Caminho.substr(Barra + 1);
}

} // namespace

TInternacional::TInternacional(const std::string& ArquivoForm, const std::string& TituloAplicacao)
    : Arquivo(Corta255(ArquivoForm)), Titulo(Corta255(TituloAplicacao)), Ini(std::make_unique<TIniFile>(Arquivo))
{
}

TInternacional::~TInternacional() = default;

std::string TInternacional::VerificaIdioma(const std::string& Secao, const std::string& TextoLido) noexcept
{
    try {
        const std::string Texto = Corta255(TextoLido);
        const TIniFile Dicionario(LeCaminhoDicionario());
        const std::string Cabeca1 = MinusculasAscii(Cabeca(Texto, '-'));
        std::string Resultado;
        if (Cabeca1 != "sobre -" && Cabeca1 != "acerca de -") {
            if (Texto.empty())
                return {};
            Resultado = Dicionario.ReadString(Secao, Texto, "");
            if (Resultado.empty())
                Resultado = Texto;
        } else {
            const std::string Cabeca2 = Cabeca(Texto, ':');
            if (Cabeca2.empty())
                Resultado = Dicionario.ReadString(Secao, Texto, "");
            else
                Resultado = Dicionario.ReadString(Secao, Cabeca2, "") + Texto.substr(Cabeca2.size());
        }
        return Corta255(Resultado);
    } catch (...) {
        return Corta255(TextoLido);
    }
}

std::string TInternacional::TextoComponente(const std::string& NomeForm, const std::string& Chave,
                                            const std::string& Texto) noexcept
{
    try {
        const std::string Armazenado = Corta255(Ini->ReadString(NomeForm, Chave, ""));
        if (!Armazenado.empty())
            return Armazenado;
    } catch (...) {
    }
    const std::string Traduzido = VerificaIdioma("Geral", Texto);
    if (!Traduzido.empty()) {
        try {
            Ini->WriteString(NomeForm, Chave, EntreAspas(Traduzido));
        } catch (...) {
            // The control keeps the dictionary's text; the next showing tries the store again.
        }
    }
    return Traduzido;
}

void TInternacional::TextoMLForm(TForm& Form) noexcept
{
    const std::string NomeForm = Corta255(Cp1252DeQString(Form.objectName()));
    if (NomeForm.empty())
        return; // without a name the store has no section for the form
    const auto Traduz = [&](const std::string& Chave, const std::string& Texto) {
        return TextoComponente(NomeForm, Corta255(Chave), Texto);
    };
    try {
        Form.SetCaption(Traduz(NomeForm, Form.Caption()));
    } catch (...) {
    }

    // The component list: every control of the form, depth first in creation order, as the form's
    // layout lists them.
    for (QWidget* Componente : Form.findChildren<QWidget*>()) {
        const std::string Nome = Cp1252DeQString(Componente->objectName());
        if (Nome.empty())
            continue;
        const auto Indexado = [&](const char* Sufixo, int I) { return Nome + Sufixo + std::to_string(I); };
        try {
            if (auto* Grade = dynamic_cast<TStringGrid*>(Componente))
                for (int I = 0; I < Grade->ColCount(); ++I)
                    Grade->SetCells(I, 0, Traduz(Indexado("_Col", I), Grade->Cells(I, 0)));
            if (auto* Paginas = dynamic_cast<TPageControl*>(Componente))
                for (int I = 0; I < Paginas->PageCount(); ++I)
                    if (TTabSheet* Pagina = Paginas->Pages(I))
                        Pagina->SetCaption(Traduz(Indexado("_Pag", I), Pagina->Caption()));
            if (auto* Pagina = dynamic_cast<TTabSheet*>(Componente))
                Pagina->SetCaption(Traduz(Nome, Pagina->Caption()));
            if (auto* Radio = dynamic_cast<TRadioButton*>(Componente))
                Radio->SetCaption(Traduz(Nome, Radio->Caption()));
            if (auto* Painel = dynamic_cast<TPanel*>(Componente))
                Painel->SetCaption(Traduz(Nome, Painel->Caption()));
            if (auto* Rotulo = dynamic_cast<TLabel*>(Componente))
                Rotulo->SetCaption(Traduz(Nome, Rotulo->Caption()));
            if (auto* Botao = dynamic_cast<TButton*>(Componente))
                Botao->SetCaption(Traduz(Nome, Botao->Caption()));
            if (auto* Rapido = dynamic_cast<TSpeedButton*>(Componente))
                Rapido->SetCaption(Traduz(Nome, Rapido->Caption()));
            if (auto* Marca = dynamic_cast<TCheckBox*>(Componente))
                Marca->SetCaption(Traduz(Nome, Marca->Caption()));
            if (auto* Grupo = dynamic_cast<TGroupBox*>(Componente))
                Grupo->SetCaption(Traduz(Nome, Grupo->Caption()));
            if (auto* Edicao = dynamic_cast<TEdit*>(Componente))
                Edicao->SetText(Traduz(Nome, Edicao->Text()));
            if (auto* Abas = dynamic_cast<TTabSet*>(Componente))
                for (int I = 0; I < Abas->count(); ++I)
                    Abas->SetTab(I, Traduz(Indexado("_Aba", I), Abas->Tab(I)));
            // Index 0 of a radio group is its caption: its first item is never translated.
            if (auto* Grupo = dynamic_cast<TRadioGroup*>(Componente)) {
                const int Itens = static_cast<int>(Grupo->Items().size());
                for (int I = 0; I < Itens; ++I) {
                    if (I == 0)
                        Grupo->SetCaption(Traduz(Indexado("_Rad", I), Grupo->Caption()));
                    else
                        Grupo->SetItem(I, Traduz(Indexado("_Rad", I), Grupo->Item(I)));
                }
            }
        } catch (...) {
            // One control's failure does not stop the others.
        }
    }
}

std::string TInternacional::TextoML(const std::string& Secao, const std::string& Chave,
                                    const std::string& Padrao) noexcept
{
    const std::string SecaoApp = Corta255(Titulo + "." + Corta255(Secao));
    try {
        const std::string Armazenado = Corta255(Ini->ReadString(SecaoApp, Corta255(Chave), ""));
        if (!Armazenado.empty())
            return Armazenado;
        Ini->WriteString(SecaoApp, Corta255(Chave), EntreAspas(Corta255(Padrao)));
    } catch (...) {
    }
    return Corta255(Padrao);
}

void IniciaTraducao(std::unique_ptr<TInternacional>& ConfigComp, TForm& Form) noexcept
{
    try {
        const std::string Dicionario = LeCaminhoDicionario();
        if (Dicionario.empty() || !FileExists(Dicionario))
            return;
        if (NomeArquivo(Dicionario) == "ESP_CfKovan.ini")
            ConfigComp = std::make_unique<TInternacional>(CaminhoArmazem(Dicionario), Application().Title);
        if (ConfigComp)
            ConfigComp->TextoMLForm(Form);
    } catch (...) {
        // Translation never stops a screen from opening.
    }
}
