#include "ventaro/registration.h"

#include "core/program/language_policy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <atomic>
#include <filesystem>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

using namespace Qt::StringLiterals;

namespace Registration {

namespace {

// The self-registration entry points take nothing and return an HRESULT.
using EntryPoint = std::int32_t (*)();

// A loaded library shared by the caller and the worker thread; whoever lets go of it
// last releases it, so it stays loaded as long as its entry point runs.
std::shared_ptr<QLibrary> openLibrary(const QString &path)
{
    return std::shared_ptr<QLibrary>(new QLibrary(QFileInfo(path).absoluteFilePath()),
                                     [](QLibrary *library) {
                                         library->unload();
                                         delete library;
                                     });
}

// Entry points started and not yet returned; registering twice at once is never safe.
std::atomic<int> running{0};

QString hexCode(std::int32_t code)
{
    return u"0x"_s + u"%1"_s.arg(quint32(code), 8, 16, QChar(u'0')).toUpper();
}

} // namespace

QString entryPointName(bool registering)
{
    return registering ? u"DllRegisterServer"_s : u"DllUnregisterServer"_s;
}

Result run(const QString &libraryPath, bool registering, std::chrono::milliseconds wait)
{
    Result result;
    result.entryPoint = entryPointName(registering);
    if (running.load() > 0) {
        result.outcome = Outcome::StillRunning;
        return result;
    }

    const std::shared_ptr<QLibrary> library = openLibrary(libraryPath);
    if (!library->load()) {
        result.outcome = Outcome::LibraryNotLoaded;
        result.detail = library->errorString();
        return result;
    }
    const auto entry = reinterpret_cast<EntryPoint>(
        library->resolve(result.entryPoint.toLatin1().constData()));
    if (!entry) {
        result.outcome = Outcome::EntryPointMissing;
        return result;
    }

    std::promise<std::int32_t> returned;
    std::future<std::int32_t> answer = returned.get_future();
    std::thread worker;
    try {
        // The worker holds its own reference to the library until the entry point has
        // returned and the worker lets go of it.
        ++running;
        worker = std::thread([library, entry, returned = std::move(returned)]() mutable {
            const std::int32_t code = entry();
            --running;
            returned.set_value(code);
        });
    } catch (const std::system_error &) {
        --running;
        result.outcome = Outcome::ThreadNotStarted;
        return result;
    }

    if (answer.wait_for(wait) != std::future_status::ready) {
        worker.detach();
        result.outcome = Outcome::TimedOut;
        return result;
    }
    worker.join();
    result.code = answer.get();
    if (result.code != 0)
        result.outcome = Outcome::EntryPointFailed;
    return result;
}

bool clearReadOnly(const QString &path)
{
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return false;
    std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, error);
    return !error;
}

QString failureText(const Result &result, const QString &libraryPath, const QString &language)
{
    const QString library = QDir::toNativeSeparators(libraryPath);
    const QString &entry = result.entryPoint;
    switch (result.outcome) {
    case Outcome::Done:
        return QString();
    case Outcome::LibraryNotLoaded: {
        const QString text = LanguagePolicy(language).message(u"Не удалось загрузить библиотеку %1."_s.arg(library),
                                            u"Could not load the library %1."_s.arg(library));
        // The system's reason comes in its own language; it follows on a line of its own.
        return text.isEmpty() || result.detail.isEmpty() ? text : text + u'\n' + result.detail;
    }
    case Outcome::EntryPointMissing:
        return LanguagePolicy(language).message(u"В библиотеке %1 нет точки входа %2."_s.arg(library, entry),
                              u"The library %1 has no entry point %2."_s.arg(library, entry));
    case Outcome::ThreadNotStarted:
        return LanguagePolicy(language).message(u"Не удалось запустить поток для %1 библиотеки %2."_s.arg(entry, library),
                              u"Could not start a thread for %1 of the library %2."_s.arg(entry, library));
    case Outcome::EntryPointFailed:
        return LanguagePolicy(language).message(u"%1 библиотеки %2 завершилась с ошибкой %3."_s.arg(entry, library,
                                                                                  hexCode(result.code)),
                              u"%1 of the library %2 failed with error %3."_s.arg(entry, library,
                                                                                  hexCode(result.code)));
    case Outcome::StillRunning:
        return LanguagePolicy(language).message(u"Предыдущий вызов библиотеки %1 ещё не завершился. Повторите позже."_s.arg(library),
                              u"The previous call of the library %1 has not finished yet. Try again later."_s.arg(library));
    case Outcome::TimedOut:
        return LanguagePolicy(language).message(u"%1 библиотеки %2 не завершилась за %3 мс."_s.arg(entry, library).arg(Wait.count()),
                              u"%1 of the library %2 did not finish within %3 ms."_s.arg(entry, library).arg(Wait.count()));
    }
    return QString();
}

} // namespace Registration
