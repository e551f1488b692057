#include "UPrincipal.h"

#include "ApplicationTitle.h"
#include "CommandLine.h"
#include "DatabaseLocations.h"
#include "DateTimeText.h"
#include "Error.h"
#include "Headless.h"
#include "ImportRun.h"
#include "RecordSetModel.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {

const QPoint kWindowPosition(343, 138);
const QSize kOuterSize(797, 623);

template <typename Control>
Control* place(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// A label grows to the right when the workstation's font needs more room for its caption.
QLabel* caption(QLabel* label, const QString& text)
{
    label->setText(text);
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    return label;
}

// A grid shows its data source and keeps the current record selected and in view.
RecordSetModel* showDataSource(QTableView* grid, const char* name)
{
    auto* source = new RecordSetModel(grid);
    source->setObjectName(QLatin1String(name));
    grid->setModel(source);
    QObject::connect(source, &RecordSetModel::currentRowChanged, grid, [grid](int row) {
        if (row < 0)
            grid->clearSelection();
        else
            grid->selectRow(row);
    });
    return source;
}

int exitStatusOf(RunEnd end)
{
    switch (end) {
    case RunEnd::Completed:
    case RunEnd::Stopped: return kExitCompleted;   // a stop has the signal's own status
    case RunEnd::DownloadFailed: return kExitDownloadFailed;
    case RunEnd::OrdersFailed: return kExitRunFailed;
    case RunEnd::NoBackOfficeConnection:
    case RunEnd::NoOrdersConnection: return kExitNoDatabaseConnection;
    case RunEnd::AnotherRunInProgress: return kExitAnotherRunInProgress;
    }
    Q_UNREACHABLE();
}

QString messageOf(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const Error*>(&failure))
        return error->message();
    return QString::fromLocal8Bit(failure.what());
}

// Keeps "Executar Rotina" disabled for as long as a run is in progress, on every way out.
class RunGuard {
public:
    RunGuard(bool& inProgress, QPushButton* button)
        : inProgress_(inProgress)
        , button_(button)
    {
        inProgress_ = true;
        button_->setEnabled(false);
    }
    ~RunGuard()
    {
        inProgress_ = false;
        button_->setEnabled(true);
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    bool& inProgress_;
    QPushButton* button_;
};

} // namespace

TForm1::TForm1(ShellEnvironment environment, QWidget* parent)
    : QWidget(parent)
    , environment_(std::move(environment))
    , importRun_(*this,
                 RunSetup{environment_.programFolder, environment_.serviceAddress, environment_.databaseAccount},
                 *environment_.clock, environment_.regional)
{
    createControls();
    terminationSignals_ = new TerminationSignals(this);
    connect(terminationSignals_, &TerminationSignals::received, this, &TForm1::endOnSignal);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Formulário Principal"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    move(kWindowPosition);
    resize(kOuterSize);

    Label1 = caption(place<QLabel>(this, "Label1", {32, 8, 65, 13}), QStringLiteral("Base Pedidos"));
    EdtBasePedidos = place<QLineEdit>(this, "EdtBasePedidos", {40, 24, 321, 21});
    Label2 = caption(place<QLabel>(this, "Label2", {32, 48, 65, 13}), QStringLiteral("Base Kelmora"));
    EdtBaseKelmora = place<QLineEdit>(this, "EdtBaseKelmora", {40, 64, 321, 21});
    Label4 = caption(place<QLabel>(this, "Label4", {32, 88, 36, 13}), QStringLiteral("Arquivo"));
    EdtArquivo = place<QLineEdit>(this, "EdtArquivo", {40, 104, 321, 21});
    Button2 = place<QPushButton>(this, "Button2", {632, 24, 113, 25});
    Button2->setText(QStringLiteral("Salvar"));
    Button1 = place<QPushButton>(this, "Button1", {632, 64, 121, 25});
    Button1->setText(QStringLiteral("Executar Rotina"));
    Label3 = caption(place<QLabel>(this, "Label3", {32, 144, 32, 13}), QStringLiteral("Cliente"));
    DBGrid1 = place<QTableView>(this, "DBGrid1", {40, 160, 713, 73});
    DBGrid2 = place<QTableView>(this, "DBGrid2", {40, 248, 713, 81});
    DBGrid3 = place<QTableView>(this, "DBGrid3", {40, 336, 713, 81});
    Memo1 = place<QPlainTextEdit>(this, "Memo1", {40, 424, 713, 137});
    Memo1->setPlainText(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    DataSource1 = showDataSource(DBGrid1, "DataSource1");
    DataSource1->bind(&importRun_.headerRecordSet());
    DataSource2 = showDataSource(DBGrid2, "DataSource2");
    DataSource3 = showDataSource(DBGrid3, "DataSource3");

    // Tab order 0 to 8; only "Salvar" and the three edit boxes take focus from the Tab key.
    const QList<QWidget*> tabOrder = {Button2, Button1, DBGrid1, DBGrid2, DBGrid3, Memo1,
                                      EdtBasePedidos, EdtBaseKelmora, EdtArquivo};
    for (QWidget* control : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(DBGrid1),
                             static_cast<QWidget*>(DBGrid2), static_cast<QWidget*>(DBGrid3),
                             static_cast<QWidget*>(Memo1)})
        control->setFocusPolicy(Qt::ClickFocus);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(Button1, &QPushButton::clicked, this, [this] { runReportingErrors(); });
    connect(Button2, &QPushButton::clicked, this, [this] { saveReportingErrors(); });
}

void TForm1::FormCreate()
{
    modoexecuta_ = false;
    if (const auto locations = loadDatabaseLocations(environment_.programFolder)) {
        EdtBaseKelmora->setText(locations->backOffice);
        EdtBasePedidos->setText(locations->orders);
    }
    forEachUnattendedSwitch(environment_.arguments, [this] {
        modoexecuta_ = true;
        return runReportingErrors() && terminationSignal_ == 0;
    });
}

bool TForm1::endsByItself() const
{
    return terminationSignal_ != 0 || (quitRequested_ && !needsOperator_);
}

RunEnd TForm1::Button1Click()
{
    // The window handles events during a run; a second start must not run inside the first.
    if (runInProgress_)
        return RunEnd::AnotherRunInProgress;
    const RunGuard guard(runInProgress_, Button1);
    return importRun_.execute();
}

void TForm1::Button2Click()
{
    saveDatabaseLocations(environment_.programFolder, {EdtBaseKelmora->text(), EdtBasePedidos->text()});
}

bool TForm1::runReportingErrors()
{
    bool completed = true;
    try {
        const RunEnd end = Button1Click();
        QString message = runEndMessage(end);
        // The pane keeps its line; whoever reads standard error also wants the reason.
        if (end == RunEnd::NoBackOfficeConnection || end == RunEnd::NoOrdersConnection)
            message += u'\n' + importRun_.connectionFailure();
        if (!message.isEmpty() && environment_.headless)
            writeToStandardError(message);
        recordUnattendedOutcome(exitStatusOf(end));
    } catch (const std::exception& failure) {
        recordUnattendedOutcome(kExitRunFailed);
        reportError(messageOf(failure));
        completed = false;
    }
    // The run has finished its last order: now the program may end as the system asked.
    if (terminationSignal_ != 0)
        QCoreApplication::exit(exitStatus_);
    return completed;
}

void TForm1::recordUnattendedOutcome(int status)
{
    if (!modoexecuta_)
        return;
    exitStatus_ = worseExitStatus(exitStatus_, status);
    // A failed download alone is told in the log; any other failure waits for the operator.
    needsOperator_ = needsOperator_ || (status != kExitCompleted && status != kExitDownloadFailed);
}

void TForm1::endOnSignal(int signal)
{
    terminationSignal_ = signal;
    exitStatus_ = worseExitStatus(exitStatus_, exitStatusOfSignal(signal));
    // Nobody is going to answer an error box now.
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
    // A run in progress stops before its next order and ends the program itself.
    if (!runInProgress_)
        QCoreApplication::exit(exitStatus_);
}

void TForm1::saveReportingErrors()
{
    try {
        Button2Click();
    } catch (const std::exception& failure) {
        reportError(messageOf(failure));
    }
}

void TForm1::reportError(const QString& message)
{
    // Nobody could answer a box on a headless machine: the message goes to standard error.
    if (environment_.headless) {
        writeToStandardError(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, message, QMessageBox::Ok, this);
    box.exec();
}

void TForm1::log(const QString& message)
{
    appendToPane(dateTimeText(environment_.clock->now(), environment_.regional) + u'-' + message);
    processEvents();
}

void TForm1::appendRaw(const QString& line)
{
    appendToPane(line);
}

void TForm1::appendToPane(const QString& text)
{
    // The new text becomes the last line: a line break goes before it unless the
    // pane already ends with one, in which case one goes after it.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QTextDocument* document = Memo1->document();
    const bool endsWithLineBreak = document->blockCount() > 1 && document->lastBlock().text().isEmpty();
    const bool empty = document->isEmpty();
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(endsWithLineBreak ? lines + u'\n' : empty ? lines : u'\n' + lines);
    // The pane has no scroll bars: it keeps showing its newest lines.
    Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
    if (environment_.headless)
        writeToStandardOutput(lines);
}

void TForm1::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString TForm1::backOfficeLocation() const
{
    return EdtBaseKelmora->text();
}

QString TForm1::ordersLocation() const
{
    return EdtBasePedidos->text();
}

QString TForm1::orderFilePath() const
{
    return EdtArquivo->text();
}

void TForm1::bindOrderGrids(RecordSet& orders, RecordSet& items)
{
    DataSource2->bind(&orders);
    DataSource3->bind(&items);
}

void TForm1::reportFailure(const QString& line)
{
    log(line);
    if (environment_.headless)
        writeToStandardError(line);
}

bool TForm1::stopRequested()
{
    terminationSignals_->deliverPending();
    return terminationSignal_ != 0;
}

void TForm1::requestQuit()
{
    quitRequested_ = true;
    QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        environment_.regional = RegionalSettings::fromLocale(QLocale::system());
    QWidget::changeEvent(event);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The outer size includes the frame, which is known only once the window is shown.
    if (!outerSizeFitted_) {
        outerSizeFitted_ = true;
        resize(kOuterSize - (frameGeometry().size() - size()));
    }
}
