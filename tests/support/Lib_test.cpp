#include "support/Lib.h"

#include "db/MkSqLite3Api.h"
#include "platform/Cp1252.h"
#include "runtime/QuestionBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

// The question box driven through Qt, offscreen: what a user sees, where the focus goes, what each
// button answers.
class CaixaDlgMensagemExTeste : public QObject {
    Q_OBJECT

private:
    // Runs Acao on the box once it is open; the box is closed by its third button after a deadline,
    // so a broken box fails the test instead of hanging it.
    void QuandoAbrir(std::function<void(QDialog*)> Acao)
    {
        QTimer::singleShot(0, this, [this, Acao] { Espera(Acao, 0); });
    }
    void Espera(std::function<void(QDialog*)> Acao, int Tentativas)
    {
        auto* Caixa = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (Caixa && Caixa->isVisible()) {
            if (QTest::qWaitForWindowActive(Caixa))
                Acao(Caixa);
            else
                QTest::qFail("the box never became active", __FILE__, __LINE__);
            if (Caixa->isVisible())
                Caixa->done(-1);
            return;
        }
        if (Tentativas < 200)
            QTimer::singleShot(10, this, [this, Acao, Tentativas] { Espera(Acao, Tentativas + 1); });
    }
    static QPushButton* Botao(QDialog* Caixa, int N)
    {
        return Caixa->findChild<QPushButton*>(QStringLiteral("Botao%1").arg(N));
    }

private slots:
    void cleanup() { KovanSetQuestionBoxHandler(nullptr, nullptr); }

    // The screens' two boxes: the buttons right-aligned 105 apart in the order given, the focus on Padrao
    // and Tab going round from there; Escape and a close request leave the box open; a click, or Enter
    // on the focused button, answers that button's number.
    void BotaoPressionadoResponde_data()
    {
        QTest::addColumn<QStringList>("Legendas");
        QTest::addColumn<int>("Padrao");
        QTest::addColumn<QList<int>>("Ordem");
        QTest::addColumn<int>("Clicado");  // 0: Enter on the last button of Ordem
        const QStringList Configuracao{"Atual", "Todas", "Cancelar"};
        QTest::newRow("qual-configuracao-clica") << Configuracao << 3 << QList<int>{3, 1, 2, 3} << 1;
        QTest::newRow("qual-configuracao-enter") << Configuracao << 2 << QList<int>{2, 3, 1, 2} << 0;
        QTest::newRow("sera-excluida-continuar") << QStringList{"Continuar", "Cancelar"} << 2 << QList<int>{2, 1} << 1;
    }
    void BotaoPressionadoResponde()
    {
        QFETCH(QStringList, Legendas);
        QFETCH(int, Padrao);
        QFETCH(QList<int>, Ordem);
        QFETCH(int, Clicado);
        std::vector<std::string> Botoes;
        for (const QString& L : Legendas)
            Botoes.push_back(L.toStdString());
        const int N = static_cast<int>(Legendas.size());
        QList<int> Visitados;
        QuandoAbrir([&](QDialog* Caixa) {
            QCOMPARE(Caixa->windowTitle(), QString("Configurador Mirabelo."));
            QCOMPARE(Caixa->findChildren<QPushButton*>().size(), N);
            for (int I = 1; I <= N; ++I) {
                QCOMPARE(Botao(Caixa, I)->text(), Legendas[I - 1]);
                QCOMPARE(Botao(Caixa, I)->geometry(), QRect(Caixa->width() - 130 - 105 * (N - I), 90, 75, 25));
            }
            QCOMPARE(Caixa->findChild<QLabel*>("Mensagem")->text(), QString("Qual configuração deseja excluir ?"));
            QCOMPARE(Caixa->frameGeometry().size(), QSize(400, 150));
            QVERIFY(!(Caixa->windowFlags() & Qt::WindowCloseButtonHint));
            for (int I = 0; I < Ordem.size(); ++I) {
                Visitados << Caixa->focusWidget()->objectName().remove("Botao").toInt();
                if (I + 1 < Ordem.size())
                    QTest::keyClick(Caixa->focusWidget(), Qt::Key_Tab);
            }
            QTest::keyClick(Caixa->focusWidget(), Qt::Key_Escape);
            Caixa->close();
            QVERIFY(Caixa->isVisible());
            if (Clicado)
                QTest::mouseClick(Botao(Caixa, Clicado), Qt::LeftButton);
            else
                QTest::keyClick(Caixa->focusWidget(), Qt::Key_Return);
        });
        const int Resposta = CaixaDlgMensagemEx("Configurador Mirabelo.", "Qual configura\xE7\xE3o deseja excluir ?",
                                                Botoes, Padrao);
        QCOMPARE(Visitados, Ordem);
        QCOMPARE(Resposta, Clicado ? Clicado : Ordem.last());
    }

    // A host's handler answers instead of the box, and sees at most three buttons; an empty list
    // answers 0 and asks no one.
    void HostResponde()
    {
        std::vector<std::string> Vistas;
        KovanSetQuestionBoxHandler(
            [](void* C, const char* Titulo, const char* Texto, const char* const* Botoes, int N, int Padrao) {
                std::string V = std::string(Titulo) + "|" + Texto + "|" + std::to_string(Padrao);
                for (int I = 0; I < N; ++I)
                    V += "|" + std::string(Botoes[I]);
                static_cast<std::vector<std::string>*>(C)->push_back(V);
                return 2;
            },
            &Vistas);
        const char* const Texto = "A configura\xE7\xE3o ser\xE1 exclu\xED""da!";
        QCOMPARE(CaixaDlgMensagemEx("Configurador Mirabelo.", Texto, {"Continuar", "Cancelar", "c", "d"}, 2), 2);
        QCOMPARE(CaixaDlgMensagemEx("T", "M", {}, 1), 0);
        QCOMPARE(Vistas, std::vector<std::string>{"Configurador Mirabelo.|" + std::string(Texto) + "|2|Continuar|Cancelar|c"});
    }

    // The text a user would read for an error of the group database (no screen shows one yet): message
    // 43 for a missing library, the layer's own text for everything else.
    void TextoDoErroDoBanco()
    {
        QCOMPARE(TextoDoErro(ESqlite(TTipoErroSqlite::BibliotecaAusente, "libsqlite3.so.0: not found")),
                 Utf8ParaCp1252("sqlite3.dll não foi encontrado."));
        QCOMPARE(TextoDoErro(ESqlite(TTipoErroSqlite::Sqlite, "1:no such table: Nada", 1)),
                 std::string("1:no such table: Nada"));
    }
};

QTEST_MAIN(CaixaDlgMensagemExTeste)
#include "Lib_test.moc"
