#pragma once
// The configurator's main window: the module's screens by caption (Enter or a double click opens
// one), a status bar with the hints the screens send, and the host's side of every notification.
#include "module/info.h"

#include <QMainWindow>
#include <QPointer>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class TForm;

/// A screen of the module descriptor.
struct TTela {
    std::string Legenda, Classe;
};

/// The screens the descriptor lists, in its order.
std::vector<TTela> TelasDoDescritor(const TInfoModulo& Info);

/// One notification as the host received it: the code, the text the screen passed and, for a code
/// with a reply, the text after the host wrote its reply.
struct TTroca {
    int Codigo;
    std::string Recebido, Resposta;
    bool operator==(const TTroca&) const = default;
};

class TConfigurador : public QMainWindow {
    Q_OBJECT
public:
    /// DigitoModo is the host mode digit every screen receives (0 normal, 2 view only, 8 fixed company).
    TConfigurador(std::vector<TTela> Telas, const std::string& Titulo, char DigitoModo);
    ~TConfigurador() override;

    /// The host routine behind callback entry 0; it serves the configurator now open.
    static void Notificacao(std::int32_t Funcao, std::int32_t Codigo, char* Texto);

    /// Creates the screen of that class through the registry and shows it; null when the module has
    /// no such class (the status bar says so).
    TForm* Abre(const std::string& Classe);
    /// The screens open now.
    std::vector<TForm*> Abertas() const;
    /// Deletes every screen, before the module goes.
    void FechaTodas();

    /// What the host keeps between screens.
    const std::string& Empresa() const { return EmpresaEscolhida; }
    const std::string& Grupo() const { return GrupoEscolhido; }
    const std::vector<TTroca>& Trocas() const { return Historico; }
    void SetDigitoModo(char Digito) { DigitoModo = Digito; }
    /// Shows for good, at the right of the status bar (UTF-8), who runs the configurator with which
    /// level; the screens' hints take the rest of the bar.
    void MostraNivel(const std::string& Descricao);
    QListWidget* Lista() const { return ListaTelas; }

protected:
    bool eventFilter(QObject* Objeto, QEvent* Evento) override;

private:
    void Recebe(std::int32_t Codigo, char* Texto);

    std::vector<TTela> Telas;
    QListWidget* ListaTelas;
    QLabel* Nivel = nullptr;
    std::vector<QPointer<TForm>> Telas_Abertas;
    std::string EmpresaEscolhida = "00000000";
    std::string GrupoEscolhido;
    std::string ModoSelecao = "1";
    std::string ValorHost = "0";
    char DigitoModo;
    std::vector<TTroca> Historico;
};
