#pragma once
// A screen of the module driven as a person and a host drive it: a fresh root, the module initialised, a
// host that records every notification and answers codes with a reply, the boxes answered from queues.
#include "CaixasTeste.h"
#include "RaizTeste.h"
#include "module/info.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>
#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

extern "C" void Initialize();
extern "C" void Finalize();

struct TTroca {
    int Codigo;
    std::string Texto;
    bool operator==(const TTroca&) const = default;
};

/// A text of the screens, written here in UTF-8, as the CP1252 bytes they show and store.
inline std::string Cp(const std::string& Utf8) { return Utf8ParaCp1252(Utf8); }

namespace QTest {
template <>
inline char* toString(const std::string& Texto) { return qstrdup(Cp1252ParaUtf8(Texto).c_str()); }
template <>
inline char* toString(const std::vector<std::string>& Lista)
{
    std::string Todas;
    for (const std::string& Item : Lista)
        Todas += "[" + Cp1252ParaUtf8(Item) + "]";
    return qstrdup(Todas.c_str());
}
template <>
inline char* toString(const TTroca& Troca)
{
    return qstrdup((std::to_string(Troca.Codigo) + ":" + Cp1252ParaUtf8(Troca.Texto)).c_str());
}
} // namespace QTest

class TTelaTeste : public TCaixasTeste {
public:
    /// Nivel: the user's privilege level. PastaExistente: a root made by another process (see TRaizTeste).
    explicit TTelaTeste(std::uint16_t Nivel = 0, const char* PastaExistente = nullptr) : Raiz(PastaExistente)
    {
        Atual = this;
        TRaizTeste::Grava(Raiz.Pasta / "bin" / "CfKovan.ini", "[config]\r\nraiz=" + Raiz.RaizTexto() + "\r\n");
        Application().SetExeName((Raiz.Pasta / "bin" / "cfkovan").string());
        Application().Title = "CfKovan";
        setenv("KOVAN_EVENTLOG", (Raiz.Pasta / "auditoria.jsonl").c_str(), 1);
        Initialize();
        TTabCallBack Tabela{};
        Tabela.NivelUsuario = Nivel;
        Tabela.CallBack0 = &Recebe;
        CallBackInformacoes(&Tabela);
    }
    ~TTelaTeste()
    {
        delete Form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Finalize();
        unsetenv("KOVAN_EVENTLOG");
        Atual = nullptr;
    }

    /// A multi-company root with these companies, each with its stored code when one is given.
    void Empresas(const std::vector<std::pair<std::string, std::string>>& Lista, bool Duplicados = false)
    {
        Raiz.MultiEmpresa(Duplicados);
        for (const auto& [Empresa, Codigo] : Lista) {
            Raiz.CriaEmpresa(Empresa);
            if (!Codigo.empty())
                TRaizTeste::Grava(Raiz.IniEmpresa(Empresa), "[Geral]\r\nCodigoEstabelecimento=" + Codigo + "\r\n");
        }
    }

    /// Creates the screen, shows it as the active window and lets the posted messages arrive.
    void Abre(const char* Classe = "TFormEstabelecimento_167171")
    {
        Form = CriaFormPorNome(Classe, nullptr);
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.data()));
        Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.data()));
        QCoreApplication::processEvents();
    }
    /// After a popup (a list, a menu) closes, offscreen leaves no window active: the person's window
    /// takes the keyboard again.
    void VoltaAJanela()
    {
        Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form.data()));
    }
    template <class T = QWidget>
    T* Controle(const char* Nome) const
    {
        if (T* C = Form->findChild<T*>(Nome))
            return C;
        qFatal("no control %s", Nome);
    }
    /// Types as a person does: into whatever has the focus.
    void Digita(const char* Texto)
    {
        QTest::keyClicks(QApplication::focusWidget(), Texto);
        QCoreApplication::processEvents();
    }
    void Tecla(Qt::Key Tecla, Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Tecla, Mods);
        QCoreApplication::processEvents();
    }
    void Clica(const char* Nome)
    {
        QTest::mouseClick(Controle(Nome), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void Escreve(const char* Nome, const char* Texto)
    {
        Clica(Nome);
        Digita(Texto);
    }
    /// Empties a field as a person does: End, then a Backspace a character (the filters drop Ctrl+A).
    void Apaga(const char* Nome)
    {
        Clica(Nome);
        Tecla(Qt::Key_End);
        for (std::size_t I = Texto(Nome).size(); I > 0; --I)
            Tecla(Qt::Key_Backspace);
    }
    /// A check box is clicked on its box, which a click in its middle may miss.
    void Marca(const char* Nome)
    {
        QWidget* Caixa = Controle(Nome);
        QTest::mouseClick(Caixa, Qt::LeftButton, {}, QPoint(6, Caixa->height() / 2));
        QCoreApplication::processEvents();
    }
    bool Marcada(const char* Nome) const { return Controle<TCheckBox>(Nome)->Checked(); }
    void ClicaAba(const char* Nome, int Aba)
    {
        auto* Abas = Controle<TTabSet>(Nome);
        QTest::mouseClick(Abas, Qt::LeftButton, {}, Abas->tabRect(Aba).center());
        QCoreApplication::processEvents();
    }
    bool Habilitado(const char* Nome) const { return Controle(Nome)->isEnabled(); }
    /// The text of an edit or of a combo box's edit part, CP1252.
    std::string Texto(const char* Nome) const
    {
        QWidget* C = Controle(Nome);
        if (auto* Edit = qobject_cast<QLineEdit*>(C))
            return Cp1252DeQString(Edit->text());
        if (auto* Combo = qobject_cast<QComboBox*>(C))
            return Cp1252DeQString(Combo->currentText());
        return {};
    }
    std::vector<std::string> Itens(const char* Nome = "ComboBoxEmpresa") const
    {
        std::vector<std::string> Lista;
        auto* Combo = Controle<QComboBox>(Nome);
        for (int I = 0; I < Combo->count(); ++I)
            Lista.push_back(Cp1252DeQString(Combo->itemText(I)));
        return Lista;
    }

    /// Where Tab takes the focus, from control Inicio on, until it is back there (at most 30 steps): the
    /// names of the controls, in order.
    QStringList CadeiaTab(const char* Inicio = "ComboBoxEmpresa")
    {
        Controle(Inicio)->setFocus(Qt::TabFocusReason);
        QStringList Cadeia;
        for (int I = 0; I < 30; ++I) {
            Tecla(Qt::Key_Tab);
            const QWidget* Foco = QApplication::focusWidget();
            Cadeia << (Foco ? Foco->objectName() : QString("-"));
            if (Cadeia.back() == Inicio)
                break;
        }
        return Cadeia;
    }

    /// Codes the host received, in order, from position Desde on.
    std::vector<int> Codigos(std::size_t Desde = 0) const
    {
        std::vector<int> Lista;
        for (std::size_t I = Desde; I < Trocas.size(); ++I)
            Lista.push_back(Trocas[I].Codigo);
        return Lista;
    }
    /// What was asked, in order: the questions as "title: text (buttons; default)", then the message
    /// boxes as "title: text (0xflags)", joined by " | ".
    QString Dialogos() const
    {
        QStringList Lista;
        for (const TPerguntaFeita& P : Perguntas) {
            QStringList Botoes;
            for (const std::string& B : P.Botoes)
                Botoes << QStringDeCp1252(B);
            Lista << QStringDeCp1252(P.Titulo + ": " + P.Texto) + " (" + Botoes.join('/') + "; " +
                         QString::number(P.Padrao) + ")";
        }
        for (const TCaixaMostrada& C : Caixas)
            Lista << QStringDeCp1252(C.Titulo + ": " + C.Texto) + " (0x" + QString::number(C.Flags, 16) + ")";
        return Lista.join(" | ");
    }
    /// The bytes of a company's settings file.
    std::string Guardado(const std::string& Empresa) const { return TRaizTeste::Le(Raiz.IniEmpresa(Empresa)); }
    /// Texts of the audit entries, as CP1252 bytes, without the user, source and executable lines.
    std::vector<std::string> Auditoria() const
    {
        std::vector<std::string> Linhas;
        std::ifstream Arquivo(Raiz.Pasta / "auditoria.jsonl", std::ios::binary);
        for (std::string Linha; std::getline(Arquivo, Linha);) {
            const std::string Texto = Utf8ParaCp1252(nlohmann::json::parse(Linha)["text"].get<std::string>());
            const std::size_t Fim = Texto.find("\n\n");
            Linhas.push_back(Fim == std::string::npos ? Texto : Texto.substr(Fim + 2));
        }
        return Linhas;
    }

    /// The structured fields of the audit entries, one "empresa|tela" per entry (UTF-8).
    std::vector<std::string> CamposAuditoria() const
    {
        std::vector<std::string> Campos;
        std::ifstream Arquivo(Raiz.Pasta / "auditoria.jsonl", std::ios::binary);
        for (std::string Linha; std::getline(Arquivo, Linha);) {
            const auto Entrada = nlohmann::json::parse(Linha);
            Campos.push_back(Entrada.value("empresa", "") + "|" + Entrada.value("tela", ""));
        }
        return Campos;
    }

    TRaizTeste Raiz;
    QPointer<TForm> Form;
    std::vector<TTroca> Trocas;
    /// The host's replies to the codes that have one (301, 501, 506, 507, 510).
    std::map<int, std::string> Respostas;

private:
    static inline TTelaTeste* Atual = nullptr;

    static void Recebe(std::int32_t, std::int32_t Codigo, char* Texto)
    {
        Atual->Trocas.push_back({Codigo, Texto});
        if (const auto Resposta = Atual->Respostas.find(Codigo); Resposta != Atual->Respostas.end())
            std::memcpy(Texto, Resposta->second.data(), std::min(std::strlen(Texto), Resposta->second.size()));
    }
};
