#include "runtime/Grids.h"

#include <QHeaderView>
#include <QItemSelectionModel>

// The grid's selection model: a move of the current cell by the user is first offered to SelectCell.
class TSelecaoGrade : public QItemSelectionModel {
public:
    TSelecaoGrade(QAbstractItemModel* Modelo, TStringGrid* Grade) : QItemSelectionModel(Modelo, Grade), Grade(Grade) {}

    void setCurrentIndex(const QModelIndex& Indice, QItemSelectionModel::SelectionFlags Comando) override
    {
        if (Grade)
            Grade->Recusado = !Grade->PodeIrPara(Indice);
        if (!Grade || !Grade->Recusado)
            QItemSelectionModel::setCurrentIndex(Indice, Comando);
    }
    void select(const QItemSelection& Selecao, QItemSelectionModel::SelectionFlags Comando) override
    {
        if (!Grade || !Grade->Recusado)
            QItemSelectionModel::select(Selecao, Comando);
    }
    using QItemSelectionModel::select;

    TStringGrid* Grade; // null once the grid is going: Qt still moves the selection while it dies
};

TStringGrid::TStringGrid(QWidget* Pai) : TControle(Pai)
{
    setTabKeyNavigation(false); // Tab leaves the grid, as on Windows
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    setColumnCount(5);
    setRowCount(4);
    QItemSelectionModel* Antigo = selectionModel();
    setSelectionModel(new TSelecaoGrade(model(), this));
    delete Antigo;
}

TStringGrid::~TStringGrid()
{
    if (auto* Selecao = dynamic_cast<TSelecaoGrade*>(selectionModel()))
        Selecao->Grade = nullptr;
}

bool TStringGrid::PodeIrPara(const QModelIndex& Indice)
{
    if (MudandoPorCodigo || !Indice.isValid() || Indice == currentIndex())
        return true;
    bool Pode = true;
    ExecutaProtegido([&] { emit SelectCell(Indice.column(), Indice.row() + 1, Pode); });
    return Pode;
}

void TStringGrid::mousePressEvent(QMouseEvent* Evento)
{
    Recusado = false;
    QTableWidget::mousePressEvent(Evento);
    Recusado = false;
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* Evento)
{
    QTableWidget::mouseDoubleClickEvent(Evento);
    ExecutaProtegido([this] { emit DblClick(); });
}

void TStringGrid::keyPressEvent(QKeyEvent* Evento)
{
    Recusado = false;
    QTableWidget::keyPressEvent(Evento);
    Recusado = false;
}

int TStringGrid::ColCount() const { return columnCount(); }
void TStringGrid::SetColCount(int Quantidade) { setColumnCount(std::max(Quantidade, 1)); }
int TStringGrid::RowCount() const { return rowCount() + 1; }
void TStringGrid::SetRowCount(int Quantidade)
{
    MudandoPorCodigo = true;
    setRowCount(std::max(Quantidade - 1, 0));
    MudandoPorCodigo = false;
}

std::string TStringGrid::Cells(int Coluna, int Linha) const
{
    const QTableWidgetItem* Celula = Linha == 0 ? horizontalHeaderItem(Coluna) : item(Linha - 1, Coluna);
    return Celula ? Cp1252DeQString(Celula->text()) : std::string();
}

void TStringGrid::SetCells(int Coluna, int Linha, const std::string& Texto)
{
    if (Coluna < 0 || Coluna >= columnCount() || Linha < 0 || Linha > rowCount())
        return;
    const QString Valor = QStringDeCp1252(Texto);
    if (Linha == 0)
        setHorizontalHeaderItem(Coluna, new QTableWidgetItem(Valor));
    else if (QTableWidgetItem* Celula = item(Linha - 1, Coluna))
        Celula->setText(Valor);
    else
        setItem(Linha - 1, Coluna, new QTableWidgetItem(Valor));
}

int TStringGrid::Row() const { return currentRow() + 1; }
void TStringGrid::SetRow(int Linha)
{
    MudandoPorCodigo = true;
    Recusado = false;
    setCurrentCell(Linha - 1, std::max(currentColumn(), 0));
    MudandoPorCodigo = false;
}
int TStringGrid::Col() const { return currentColumn(); }

void TStringGrid::SetColWidths(int Coluna, int Largura) { setColumnWidth(Coluna, Largura); }
void TStringGrid::SetDefaultRowHeight(int Altura) { verticalHeader()->setDefaultSectionSize(Altura); }
void TStringGrid::SetSelecaoLinha(bool Linha)
{
    setSelectionBehavior(Linha ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}
