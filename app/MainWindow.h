#pragma once

#include <QMainWindow>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace nuvisca {

class GraphView;

// The five buttons below the file list, top to bottom.
enum class WindowButton { ImportFromMedia, AddFiles, ExportCsv, Print, RemoveSelected };

// The window layout: it builds the controls and leaves all behaviour to the controller.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(GraphView* graph, QWidget* parent = nullptr);

    GraphView* graph() const { return graph_; }
    QLabel* titleLabel() const { return title_; }
    QTableView* table() const { return table_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QComboBox* averageBox() const { return averageBox_; }
    QPushButton* button(WindowButton which) const;

    void showStatus(const QString& message);
    void clearStatus();

Q_SIGNALS:
    void filesDropped(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    GraphView* graph_;
    QLabel* title_;
    QTableView* table_;
    QComboBox* zoomBox_;
    QComboBox* averageBox_;
    std::array<QPushButton*, 5> buttons_;
};

}  // namespace nuvisca
