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

/// One page. Its caption is its tab's text once it belongs to a page control.
class KOVANRT_API TTabSheet : public TControle<QWidget> {
    Q_OBJECT
public:
    /// Creates the page and appends it to PageControl (when given).
    explicit TTabSheet(TPageControl* PageControl = nullptr);
    std::string Caption() const;
    void SetCaption(const std::string& Texto);
    TPageControl* PageControl() const { return Dono; }

private:
    friend class TPageControl;
    TPageControl* Dono = nullptr;
    QString Legenda;
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

signals:
    void Change();

private:
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

private:
    bool MudandoPorCodigo = false;
};
