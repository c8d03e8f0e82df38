#include "runtime/QuestionBox.h"

#include "platform/Cp1252.h"
#include "runtime/Texto.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cstdio>

namespace {

KovanQuestionBoxHandler Tratador = nullptr;
void* Contexto = nullptr;

constexpr int MaxBotoes = 3;

// The box closes only through its buttons: no Close command in the title bar, and neither Escape
// nor the window manager's close shortcut dismisses it.
class TCaixaPergunta : public QDialog {
public:
    TCaixaPergunta(const QString& Titulo, const QString& Texto, const QStringList& Botoes, int Padrao)
        : QDialog(QApplication::activeWindow(),
                  Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
    {
        setObjectName("CaixaDlgMensagemEx");
        setWindowTitle(Titulo);
        setWindowModality(Qt::ApplicationModal);
        Mensagem = new QLabel(Texto, this);
        Mensagem->setObjectName("Mensagem");
        Mensagem->setWordWrap(true);
        for (int I = 0; I < Botoes.size(); ++I) {
            auto* Botao = new QPushButton(Botoes[I], this);
            Botao->setObjectName(QStringLiteral("Botao%1").arg(I + 1));
            Botao->setAutoDefault(true);
            connect(Botao, &QPushButton::clicked, this, [this, I] { done(I + 1); });
            Lista.push_back(Botao);
        }
        // Tab order from the default button: k, k+1 .. n, then 1 .. k-1.
        const int N = static_cast<int>(Lista.size());
        const int Primeiro = Padrao >= 1 && Padrao <= N ? Padrao - 1 : 0;
        for (int I = 1; I < N; ++I)
            setTabOrder(Lista[(Primeiro + I - 1) % N], Lista[(Primeiro + I) % N]);
        if (N > 0)
            Lista[Primeiro]->setFocus();
        resize(LarguraCaixaPergunta, AlturaCaixaPergunta);
        Posiciona();
    }

protected:
    void showEvent(QShowEvent* Evento) override
    {
        QDialog::showEvent(Evento);
        // 400 x 150 is the outer size: take the frame off once the window system has given one.
        const QSize Moldura = frameGeometry().size() - geometry().size();
        setFixedSize(LarguraCaixaPergunta - Moldura.width(), AlturaCaixaPergunta - Moldura.height());
        if (const QScreen* Tela = screen())
            move(Tela->availableGeometry().center() - QPoint(LarguraCaixaPergunta, AlturaCaixaPergunta) / 2);
        Posiciona();
    }
    void resizeEvent(QResizeEvent* Evento) override
    {
        QDialog::resizeEvent(Evento);
        Posiciona();
    }
    void closeEvent(QCloseEvent* Evento) override
    {
        if (result() == 0)
            Evento->ignore();
    }
    void keyPressEvent(QKeyEvent* Evento) override
    {
        if (Evento->key() == Qt::Key_Escape)
            return;
        QDialog::keyPressEvent(Evento);
    }
    void reject() override {}

private:
    void Posiciona()
    {
        const int Largura = width();
        Mensagem->move(10, 10);
        Mensagem->setFixedWidth(Largura - 10);
        Mensagem->adjustSize();
        const int N = static_cast<int>(Lista.size());
        for (int I = 0; I < N; ++I)
            Lista[I]->setGeometry(EsquerdaBotaoPergunta(Largura, I + 1, N), 90, 75, 25);
    }

    QLabel* Mensagem;
    std::vector<QPushButton*> Lista;
};

int MostraCaixa(const char* Titulo, const char* Texto, const char* const* Botoes, int Quantidade, int Padrao)
{
    QStringList Legendas;
    for (int I = 0; I < Quantidade; ++I)
        Legendas << QStringDeCp1252(Botoes[I] ? Botoes[I] : "");
    TCaixaPergunta Caixa(QStringDeCp1252(Titulo), QStringDeCp1252(Texto), Legendas, Padrao);
    return Caixa.exec();
}

} // namespace

void KovanSetQuestionBoxHandler(KovanQuestionBoxHandler handler, void* context)
{
    Tratador = handler;
    Contexto = context;
}

int KovanQuestionBox(const char* title, const char* text, const char* const* buttons, int count,
                     int defaultButton)
{
    title = title ? title : "";
    text = text ? text : "";
    count = buttons ? std::clamp(count, 0, MaxBotoes) : 0;
    if (count == 0)
        return 0;
    if (Tratador)
        return Tratador(Contexto, title, text, buttons, count, defaultButton);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return MostraCaixa(title, text, buttons, count, defaultButton);
    std::fprintf(stderr, "%s: %s\n", Cp1252ParaUtf8(title).c_str(), Cp1252ParaUtf8(text).c_str());
    return defaultButton >= 1 && defaultButton <= count ? defaultButton : 0;
}

int CaixaPergunta(const std::string& Titulo, const std::string& Texto, const std::vector<std::string>& Botoes,
                  int Padrao)
{
    std::vector<const char*> Legendas;
    for (const std::string& Botao : Botoes)
        Legendas.push_back(Botao.c_str());
    return KovanQuestionBox(Titulo.c_str(), Texto.c_str(), Legendas.data(), static_cast<int>(Legendas.size()),
                            Padrao);
}
