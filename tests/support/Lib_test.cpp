#include "support/Lib.h"

#include "CaixasTeste.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

// The question box driven through Qt, offscreen: what a user sees, where the focus goes, what it answers.
class CaixaDlgMensagemExTeste : public QObject {
    Q_OBJECT

private:
    // Runs Acao on the box once it is open, then closes it: a broken box fails the test, never hangs it.
    void QuandoAbrir(std::function<void(QDialog*)> Acao, int Tentativas = 0)
    {
        QTimer::singleShot(Tentativas ? 10 : 0, this, [this, Acao, Tentativas] {
            auto* Caixa = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!Caixa || !Caixa->isVisible())
                return Tentativas < 200 ? QuandoAbrir(Acao, Tentativas + 1) : void();
            if (QTest::qWaitForWindowActive(Caixa))
                Acao(Caixa);
            else
                QTest::qFail("the box never became active", __FILE__, __LINE__);
            if (Caixa->isVisible())
                Caixa->done(-1);
        });
    }
    static QPushButton* Botao(QDialog* Caixa, int N)
    {
        return Caixa->findChild<QPushButton*>(QStringLiteral("Botao%1").arg(N));
    }

private slots:
    // The screens' two boxes: buttons right-aligned 105 apart in the order given, focus on Padrao and Tab
    // going round; Escape and a close request leave it open; a click, or Enter, answers the button's number.
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
        TCaixasTeste Host;
        Host.RespostasPergunta = {2};
        QCOMPARE(CaixaDlgMensagemEx("Configurador Mirabelo.", "Exclui?", {"Continuar", "Cancelar", "c", "d"}, 2), 2);
        QCOMPARE(CaixaDlgMensagemEx("T", "M", {}, 1), 0);
        QCOMPARE(Host.Perguntas.size(), 1u);
        const TPerguntaFeita& P = Host.Perguntas[0];
        QCOMPARE(P.Titulo + "|" + P.Texto + "|" + std::to_string(P.Padrao), "Configurador Mirabelo.|Exclui?|2");
        QCOMPARE(P.Botoes, (std::vector<std::string>{"Continuar", "Cancelar", "c"}));
    }
};

QTEST_MAIN(CaixaDlgMensagemExTeste)
#include "Lib_test.moc"
