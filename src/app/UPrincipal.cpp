#include "UPrincipal.h"

#include "ApplicationTitle.h"
#include "CommandLine.h"
#include "DataGrid.h"
#include "DatabaseLocations.h"
#include "Error.h"
#include "Headless.h"
#include "ImportRun.h"
#include "LogPane.h"
#include "RecordSetModel.h"
#include "RepaintPacer.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>

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

RecordSetModel* dataSourceOf(DataGrid* grid, const char* name)
{
    grid->dataSource()->setObjectName(QLatin1String(name));
    return grid->dataSource();
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

} // namespace

// What a run in progress means for the window, undone on every way out: "Executar Rotina"
// cannot start a second run, the grids show the run's cursor, the window repaints at a
// pace of its own rather than at every line, and the keyboard focus stays out of the
// edit boxes. (A button that loses the focus by being disabled hands it on to
// "Base Pedidos" with all its text selected, where the next key would replace the
// location that "Salvar" stores.)
class TForm1::RunInProgress {
public:
    explicit RunInProgress(TForm1& window)
        : window_(window)
        , focus_(window.focusWidget())
    {
        window_.runInProgress_ = true;
        if (focus_ == window_.Button1)
            window_.Button1->clearFocus();
        window_.Button1->setEnabled(false);
        for (DataGrid* grid : {window_.DBGrid1, window_.DBGrid2, window_.DBGrid3})
            grid->holdCursor(true);
        window_.repaintPacer_->setActive(true);
    }
    ~RunInProgress()
    {
        window_.runInProgress_ = false;
        window_.repaintPacer_->setActive(false);
        window_.Button1->setEnabled(true);
        for (DataGrid* grid : {window_.DBGrid1, window_.DBGrid2, window_.DBGrid3})
            grid->holdCursor(false);
        // Unless the operator put the focus somewhere during the run, it goes back.
        if (window_.focusWidget() == nullptr && focus_ != nullptr)
            focus_->setFocus();
        window_.dailyLog_.flush();
        window_.passOnLogLines();
    }
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;

private:
    TForm1& window_;
    QPointer<QWidget> focus_;
};

TForm1::TForm1(ShellEnvironment environment, QWidget* parent)
    : QWidget(parent)
    , environment_(std::move(environment))
    , stamp_(environment_.regional)
    , dailyLog_(environment_.programFolder)
    , importRun_(*this,
                 RunSetup{environment_.programFolder, environment_.serviceAddress, environment_.databaseAccount},
                 *environment_.clock, environment_.regional)
{
    createControls();
    repaintPacer_ = new RepaintPacer(*this);
    terminationSignals_ = new TerminationSignals(this);
    connect(terminationSignals_, &TerminationSignals::received, this, &TForm1::endOnSignal);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    shapeWindow();
    createEditBoxesAndButtons();
    createGridsAndPane();
    arrangeFocus();
    connect(Button1, &QPushButton::clicked, this, [this] { runReportingErrors(); });
    connect(Button2, &QPushButton::clicked, this, [this] { saveReportingErrors(); });
}

void TForm1::shapeWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Formulário Principal"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    move(placedOnScreen(QRect(kWindowPosition, kOuterSize), environment_.availableScreenArea(kWindowPosition)));
    resize(kOuterSize);
}

void TForm1::createEditBoxesAndButtons()
{
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
}

void TForm1::createGridsAndPane()
{
    Label3 = caption(place<QLabel>(this, "Label3", {32, 144, 32, 13}), QStringLiteral("Cliente"));
    DBGrid1 = place<DataGrid>(this, "DBGrid1", {40, 160, 713, 73});
    DBGrid2 = place<DataGrid>(this, "DBGrid2", {40, 248, 713, 81});
    DBGrid3 = place<DataGrid>(this, "DBGrid3", {40, 336, 713, 81});
    Memo1 = place<LogPane>(this, "Memo1", {40, 424, 713, 137});
    Memo1->appendLine(QStringLiteral("Memo1"));

    DataSource1 = dataSourceOf(DBGrid1, "DataSource1");
    DataSource1->bind(&importRun_.headerRecordSet());
    DataSource2 = dataSourceOf(DBGrid2, "DataSource2");
    DataSource3 = dataSourceOf(DBGrid3, "DataSource3");
}

// Tab order 0 to 8; only "Salvar" and the three edit boxes take focus from the Tab key. The
// window opens with the focus on the first of them, "Salvar", not in an edit box.
void TForm1::arrangeFocus()
{
    const QList<QWidget*> tabOrder = {Button2, Button1, DBGrid1, DBGrid2, DBGrid3, Memo1,
                                      EdtBasePedidos, EdtBaseKelmora, EdtArquivo};
    for (QWidget* control : std::initializer_list<QWidget*>{Button1, DBGrid1, DBGrid2, DBGrid3, Memo1})
        control->setFocusPolicy(Qt::ClickFocus);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Button2->setFocus();
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
    const RunInProgress run(*this);
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
    const QDateTime now = environment_.clock->now();
    appendToPane(stamp_.of(now) + message, now.date());
    processEvents();
}

void TForm1::appendRaw(const QString& line)
{
    appendToPane(line, environment_.clock->now().date());
}

void TForm1::appendToPane(const QString& text, const QDate& day)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->appendLine(lines);
    if (environment_.headless)
        writeToStandardOutput(lines);
    else
        dailyLog_.append(lines, day);
}

void TForm1::processEvents()
{
    passOnLogLines();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TForm1::passOnLogLines()
{
    if (environment_.headless) {
        flushStandardOutput();
        return;
    }
    // The pane only: the line is about the file.
    const QString failure = dailyLog_.takeFailure();
    if (!failure.isEmpty())
        Memo1->appendLine(stamp_.of(environment_.clock->now()) + failure);
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
    if (event->type() == QEvent::LocaleChange) {
        environment_.regional = RegionalSettings::fromLocale(QLocale::system());
        stamp_.forget();
    }
    QWidget::changeEvent(event);
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fitOuterSize();
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    fitOuterSize();
}

void TForm1::fitOuterSize()
{
    // The outer size includes the frame, which is known once the window is shown, or, with
    // a window manager, once it has framed the window and moved it into the frame. Without
    // one there is no frame and nothing to wait for.
    if (outerSizeFitted_ || !isVisible())
        return;
    const QSize frame = frameGeometry().size() - size();
    resize(kOuterSize - frame);
    outerSizeFitted_ = !frame.isNull();
}
