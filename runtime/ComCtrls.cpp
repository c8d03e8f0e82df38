#include "runtime/ComCtrls.h"

TTabSheet::TTabSheet(TPageControl* PageControl) : TControle(PageControl)
{
    if (PageControl)
        PageControl->AddPage(this);
}

std::string TTabSheet::Caption() const
{
    if (Dono) {
        const int Indice = Dono->indexOf(const_cast<TTabSheet*>(this));
        if (Indice >= 0)
            return Cp1252DeQString(Dono->tabText(Indice));
    }
    return Cp1252DeQString(Legenda);
}

void TTabSheet::SetCaption(const std::string& Texto)
{
    Legenda = QStringDeCp1252(Texto);
    if (Dono) {
        const int Indice = Dono->indexOf(this);
        if (Indice >= 0)
            Dono->setTabText(Indice, Legenda);
    }
}

int TTabSheet::PageIndex() const { return Dono ? Dono->indexOf(const_cast<TTabSheet*>(this)) : -1; }

void TTabSheet::SetTabVisible(bool Visivel)
{
    AbaVisivel = Visivel;
    if (Dono && PageIndex() >= 0) {
        Dono->MudandoPorCodigo = true;
        Dono->tabBar()->setTabVisible(PageIndex(), Visivel); // the tab only: the page stays shown
        Dono->MudandoPorCodigo = false;
        Dono->AtualizaBarra();
    }
}

TPageControl::TPageControl(QWidget* Pai) : TControle(Pai)
{
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (!MudandoPorCodigo)
            ExecutaProtegido([this] { emit Change(); });
    });
}

int TPageControl::PageCount() const { return count(); }
TTabSheet* TPageControl::Pages(int Indice) const { return qobject_cast<TTabSheet*>(widget(Indice)); }

void TPageControl::AddPage(TTabSheet* Pagina)
{
    if (!Pagina || indexOf(Pagina) >= 0)
        return;
    Pagina->Dono = this;
    MudandoPorCodigo = true;
    const int Indice = addTab(Pagina, Pagina->Legenda);
    setTabVisible(Indice, Pagina->AbaVisivel);
    MudandoPorCodigo = false;
    AtualizaBarra();
}

int TPageControl::ActivePageIndex() const { return currentIndex(); }
void TPageControl::SetActivePageIndex(int Indice)
{
    MudandoPorCodigo = true;
    setCurrentIndex(Indice);
    MudandoPorCodigo = false;
}
TTabSheet* TPageControl::ActivePage() const { return qobject_cast<TTabSheet*>(currentWidget()); }
void TPageControl::SetActivePage(TTabSheet* Pagina) { SetActivePageIndex(indexOf(Pagina)); }
void TPageControl::SetTabsEmbaixo(bool Embaixo) { setTabPosition(Embaixo ? QTabWidget::South : QTabWidget::North); }

void TPageControl::AtualizaBarra()
{
    bool Alguma = false;
    for (int I = 0; I < count() && !Alguma; ++I)
        Alguma = isTabVisible(I);
    tabBar()->setVisible(Alguma);
}

TTabSet::TTabSet(QWidget* Pai) : TControle(Pai)
{
    // A tab set hangs its tabs, each as wide as its text, from its top edge (under the pages it drives).
    setShape(QTabBar::RoundedSouth);
    setExpanding(false);
    connect(this, &QTabBar::currentChanged, this, [this] {
        if (!MudandoPorCodigo)
            ExecutaProtegido([this] { emit Click(); });
    });
}

std::vector<std::string> TTabSet::Tabs() const
{
    std::vector<std::string> Abas;
    for (int I = 0; I < count(); ++I)
        Abas.push_back(Cp1252DeQString(tabText(I)));
    return Abas;
}

void TTabSet::SetTabs(const std::vector<std::string>& Abas)
{
    MudandoPorCodigo = true;
    while (count() > 0)
        removeTab(count() - 1);
    for (const std::string& Aba : Abas)
        addTab(QStringDeCp1252(Aba));
    MudandoPorCodigo = false;
}

std::string TTabSet::Tab(int Indice) const { return Cp1252DeQString(tabText(Indice)); }
void TTabSet::SetTab(int Indice, const std::string& Texto) { setTabText(Indice, QStringDeCp1252(Texto)); }
int TTabSet::TabIndex() const { return currentIndex(); }
void TTabSet::SetTabIndex(int Indice)
{
    MudandoPorCodigo = true;
    setCurrentIndex(Indice);
    MudandoPorCodigo = false;
}
