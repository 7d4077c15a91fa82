// The send path: the real batch driver, with its window's labels and bar
// (offscreen), sending a file to the real receiver over loopback, against a
// framed TCP copy of the same file.
#include "BenchSupport.h"

#include "protocol/TcpServer.h"
#include "receiver/ConnectionHandler.h"
#include "sender/TfrmMain.h"
#include "toolkit/Environment.h"
#include "toolkit/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Yes to starting, OK to the report.
class AgreeingPrompter : public toolkit::Prompter
{
public:
    toolkit::MessageAnswer message(const toolkit::MessageRequest& request) override
    {
        return request.buttons == toolkit::MessageButtons::YesNo ? toolkit::MessageAnswer::Yes
                                                                 : toolkit::MessageAnswer::Ok;
    }
    std::optional<QString> chooseFolder(const toolkit::FolderRequest&) override { return {}; }
    QStringList chooseFiles(const toolkit::FilesRequest&) override { return {}; }
};

} // namespace

int main(int argc, char* argv[])
{
    Q_INIT_RESOURCE(sender);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        toolkit::SetProgramArguments({u"/ENGLISH"_s, u"/ALLOWSLEEP"_s});
        AgreeingPrompter prompter;
        toolkit::InstallPrompter(&prompter);

        const bench::Scratch scratch(options, u"send-bench"_s);
        bench::QuietHost host(scratch.destination());
        protocol::TcpServer server(
            [&host](protocol::Connection& c) { receiver::tcpServerExecute(host, c); });
        if (!server.start(0))
            throw std::runtime_error("cannot listen");

        sender::TfrmMain window(scratch.path(u"korvalla.INI"_s));
        window.txtPort->setText(QString::number(server.port()));
        window.txtPassword->setText(u"bench"_s);
        window.files().append(scratch.source());
        window.show();

        const auto sendWithWindow = [&] {
            QEventLoop loop;
            QObject::connect(&window, &sender::TfrmMain::batchFinished, &loop, &QEventLoop::quit);
            QElapsedTimer timer;
            timer.start();
            window.btnSend->click();
            loop.exec();
            return static_cast<double>(timer.nsecsElapsed()) / 1e9;
        };
        const auto measured = [&] {
            const double seconds = sendWithWindow();
            QFile::remove(scratch.received());
            return seconds;
        };
        sendWithWindow();
        if (!bench::sameContent(scratch.source(), scratch.received()))
            throw std::runtime_error("the received file differs from the source");
        QFile::remove(scratch.received());

        std::printf("send path (window + batch driver + receiver) vs framed copy, %lld bytes\n",
                    static_cast<long long>(options.size));
        bench::compare(options, u"sender"_s, measured, [&] { return scratch.baselineRun(); });
        toolkit::InstallPrompter(nullptr);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "send_bench: %s\n", e.what());
        return 1;
    }
}
