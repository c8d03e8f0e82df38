#pragma once
// Page controls, their pages and tab sets over QTabWidget and QTabBar. Change and Click are raised
// only by the user.
#include "platform/Export.h"
#include "runtime/Controls.h"

#include <QTabBar>
#include <QTabWidget>
#include <string>
#include <vector>

class TPageControl;

/// One page. Its caption is its tab's text once it belongs to a page control. A page whose tab is
/// hidden (TabVisible false) can still be shown from code.
class KOVANRT_API TTabSheet : public TControle<QWidget> {
    Q_OBJECT
public:
    /// Creates the page and appends it to PageControl (when given).
    explicit TTabSheet(TPageControl* PageControl = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
    TPageControl* PageControl() const { return Dono; }
    /// Position among the page control's pages, -1 outside one.
    int PageIndex() const;
    bool TabVisible() const { return AbaVisivel; }
    void SetTabVisible(bool Visivel);

signals:
    void Enter();
    void Exit();

private:
    friend class TPageControl;
    TPageControl* Dono = nullptr;
    QString Legenda;
    bool AbaVisivel = true;
};

class KOVANRT_API TPageControl : public TControle<QTabWidget> {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* Pai = nullptr);
    int PageCount() const;
    TTabSheet* Pages(int Indice) const;
    void AddPage(TTabSheet* Pagina);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Indice);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* Pagina);
    /// Tabs above (the default) or below the pages.
    void SetTabsEmbaixo(bool Embaixo);

signals:
    void Change();
    void Enter();
    void Exit();

private:
    friend class TTabSheet;
    /// With no tab visible the tab bar goes and the pages fill the control.
    void AtualizaBarra();
    bool MudandoPorCodigo = false;
};

class KOVANRT_API TTabSet : public TControle<QTabBar> {
    Q_OBJECT
public:
    explicit TTabSet(QWidget* Pai = nullptr);
    std::vector<std::string> Tabs() const;
    void SetTabs(const std::vector<std::string>& Abas);
    std::string Tab(int Indice) const;
    void SetTab(int Indice, const std::string& Texto);
    int TabIndex() const;
    void SetTabIndex(int Indice);

signals:
    void Click();
    void Enter();
    void Exit();

private:
    bool MudandoPorCodigo = false;
};
