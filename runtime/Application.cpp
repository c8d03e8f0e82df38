#include "runtime/Application.h"

#include "platform/Files.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

std::string TApplication::ExeName() const
{
    if (!ExeDefinido.empty())
        return ExeDefinido;
    return CaminhoExecutavelAtual();
}

void TApplication::SetExeName(const std::string& Caminho)
{
    ExeDefinido = Caminho;
}

TApplication& Application()
{
    static TApplication Aplicacao;
    return Aplicacao;
}

void InstalaTraducaoQt()
{
    static QPointer<QCoreApplication> Instalada;
    QCoreApplication* App = QCoreApplication::instance();
    if (!App || Instalada == App)
        return;
    Instalada = App;
    auto* Tradutor = new QTranslator(App);
    if (Tradutor->load(QLocale(QLocale::Portuguese, QLocale::Brazil), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(Tradutor);
    else
        delete Tradutor;
}
