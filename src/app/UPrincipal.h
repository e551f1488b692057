#pragma once

#include "Clock.h"
#include "DailyLogFile.h"
#include "ExitStatus.h"
#include "ImportRun.h"
#include "LineStamp.h"
#include "OrderDownload.h"
#include "RegionalSettings.h"
#include "RunHost.h"
#include "WindowPlacement.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class DataGrid;
class LogPane;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordSetModel;
class RepaintPacer;
class TerminationSignals;

// What the main window takes from the process that creates it.
struct ShellEnvironment {
    QStringList arguments;       // command-line arguments, without the program's own path
    QString programFolder;       // folder of the settings, transformation and received files
    const Clock* clock = nullptr;
    RegionalSettings regional;
    bool headless = false;       // no one sees the window: the log pane is echoed to standard output
    QString serviceAddress = kOrderServiceAddress;
    DatabaseAccount databaseAccount = kBuiltInDatabaseAccount;
    // The free area of the screen at a point, where the window must fit.
    std::function<QRect(const QPoint&)> availableScreenArea = availableScreenAreaAt;
};

// The main window "Formulário Principal": the edit boxes, the two buttons, the
// three grids and the log pane. Creating it loads the settings and performs one
// import run for every "/executa" argument.
class TForm1 final : public QWidget, public RunHost {
    Q_OBJECT

public:
    explicit TForm1(ShellEnvironment environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // True when the program ends without showing the window: every "/executa" run
    // completed, or the system asked the program to end.
    bool endsByItself() const;
    // The worst outcome of the "/executa" runs, or the signal that ended the program.
    int exitStatus() const { return exitStatus_; }

    // RunHost
    void log(const QString& message) override;
    void appendRaw(const QString& line) override;
    void processEvents() override;
    QString backOfficeLocation() const override;
    QString ordersLocation() const override;
    QString orderFilePath() const override;
    void bindOrderGrids(RecordSet& orders, RecordSet& items) override;
    bool unattended() const override { return modoexecuta_; }
    void requestQuit() override;
    void reportFailure(const QString& line) override;
    bool stopRequested() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    class RunInProgress;

    void createControls();
    void shapeWindow();
    void createEditBoxesAndButtons();
    void createGridsAndPane();
    void arrangeFocus();
    void FormCreate();
    // One import run; failures leave as Error.
    RunEnd Button1Click();
    void Button2Click();
    // Entry points from the window: errors end in the standard error box. False when one did.
    bool runReportingErrors();
    void saveReportingErrors();
    void reportError(const QString& message);
    void recordUnattendedOutcome(int status);
    void endOnSignal(int signal);
    // The lines go to the pane, and to standard output or to the log file of the day.
    void appendToPane(const QString& text, const QDate& day);
    // Wherever events are processed: the lines so far go out on standard output when
    // headless; otherwise a log file that cannot be written is told in the pane.
    void passOnLogLines();
    void fitOuterSize();

    ShellEnvironment environment_;
    LineStamp stamp_;
    DailyLogFile dailyLog_;   // before the run, which may log until it is gone
    ImportRun importRun_;
    bool modoexecuta_ = false;
    int exitStatus_ = kExitCompleted;
    int terminationSignal_ = 0;
    bool quitRequested_ = false;
    bool needsOperator_ = false;   // an unattended run ended in a way the window must show
    bool runInProgress_ = false;
    bool outerSizeFitted_ = false;

    QLabel* Label1 = nullptr;
    QLineEdit* EdtBasePedidos = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* EdtBaseKelmora = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* EdtArquivo = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label3 = nullptr;
    DataGrid* DBGrid1 = nullptr;
    DataGrid* DBGrid2 = nullptr;
    DataGrid* DBGrid3 = nullptr;
    LogPane* Memo1 = nullptr;

    RecordSetModel* DataSource1 = nullptr;
    RecordSetModel* DataSource2 = nullptr; // bound by a run to the order record set
    RecordSetModel* DataSource3 = nullptr; // bound by a run to the item record set

    TerminationSignals* terminationSignals_ = nullptr;
    RepaintPacer* repaintPacer_ = nullptr;
};
