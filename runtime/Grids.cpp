#include "runtime/Grids.h"

#include "runtime/Texto.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace {

// A data cell: the system's text, converted for Qt only when Qt asks for it (to draw it).
class TCelula : public QTableWidgetItem {
public:
    static constexpr int Tipo = UserType + 1252;
    explicit TCelula(std::string T) : QTableWidgetItem(Tipo), Texto(std::move(T)) {}

    static TCelula* De(QTableWidgetItem* Item)
    {
        return Item && Item->type() == Tipo ? static_cast<TCelula*>(Item) : nullptr;
    }

    QVariant data(int Papel) const override
    {
        if (Papel == Qt::DisplayRole || Papel == Qt::EditRole)
            return QStringDeCp1252(Texto);
        return QTableWidgetItem::data(Papel);
    }
    void setData(int Papel, const QVariant& Valor) override
    {
        if (Papel != Qt::DisplayRole && Papel != Qt::EditRole)
            return QTableWidgetItem::setData(Papel, Valor);
        Texto = Cp1252DeQString(Valor.toString());
        if (QTableWidget* Grade = tableWidget()) {
            const QModelIndex Indice = Grade->model()->index(row(), column());
            emit Grade->model()->dataChanged(Indice, Indice);
        }
    }
    QTableWidgetItem* clone() const override { return new TCelula(Texto); }

    std::string Texto;
};

} // namespace

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
    // The view must hear of rows coming and going even during a load.
    if (Carregando)
        model()->blockSignals(false);
    setRowCount(std::max(Quantidade - 1, 0));
    if (Carregando)
        model()->blockSignals(true);
    MudandoPorCodigo = false;
}

std::string TStringGrid::Cells(int Coluna, int Linha) const
{
    if (Linha > 0)
        return std::string(TextoCelula(Coluna, Linha));
    const QTableWidgetItem* Titulo = horizontalHeaderItem(Coluna);
    return Titulo ? Cp1252DeQString(Titulo->text()) : std::string();
}

std::string_view TStringGrid::TextoCelula(int Coluna, int Linha) const
{
    if (Linha <= 0)
        return {};
    QTableWidgetItem* Item = item(Linha - 1, Coluna);
    if (const TCelula* Celula = TCelula::De(Item))
        return Celula->Texto;
    return {};
}

void TStringGrid::SetCells(int Coluna, int Linha, const std::string& Texto)
{
    if (Coluna < 0 || Coluna >= columnCount() || Linha < 0 || Linha > rowCount())
        return;
    if (Linha == 0) {
        setHorizontalHeaderItem(Coluna, new QTableWidgetItem(QStringDeCp1252(Texto)));
        return;
    }
    if (TCelula* Celula = TCelula::De(item(Linha - 1, Coluna))) {
        if (Celula->Texto == Texto)
            return;
        Celula->Texto = Texto;
        if (!Carregando) {
            const QModelIndex Indice = model()->index(Linha - 1, Coluna);
            emit model()->dataChanged(Indice, Indice);
        }
    } else if (!Texto.empty() || item(Linha - 1, Coluna)) {  // a missing cell already reads as empty
        setItem(Linha - 1, Coluna, new TCelula(Texto));
    }
}

void TStringGrid::IniciaCarga()
{
    if (Carregando)
        return;
    Carregando = true;
    model()->blockSignals(true);
}

void TStringGrid::TerminaCarga()
{
    if (!Carregando)
        return;
    Carregando = false;
    model()->blockSignals(false);
    if (rowCount() > 0 && columnCount() > 0)
        emit model()->dataChanged(model()->index(0, 0), model()->index(rowCount() - 1, columnCount() - 1));
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
