#include "cli/OperatorCommands.h"

#include "cli/PasswordInput.h"
#include "cli/SignalQuit.h"
#include "db/Accounts.h"
#include "db/Configuration.h"
#include "db/ContentStore.h"
#include "db/DemoSeed.h"
#include "db/LocalTime.h"
#include "db/Schema.h"
#include "db/ServerClock.h"
#include "db/SqliteDatabase.h"
#include "http/OperatorHttpServer.h"
#include "soap/SoapMessages.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace server {

namespace OperatorCommands {

namespace {

const char Usage[] = R"(usage: tipdesk-server COMMAND --db FILE [options]
       tipdesk-server --version | --help

  serve --db FILE [--listen ADDR:PORT] [--namespace URI] [--idle-timeout S] [--max-connections N]
        serve the operator's web service and pages (default 127.0.0.1:8080; port 0 picks one);
        close connections idle for S seconds (default 15), keep N open at most (default 256)
  seed --db FILE [--demo --base URL]
        create the schema; with --demo fill in the demo database (URL: this server's address, ending in "/")
  config --db FILE [KEY=VALUE ...] [--null KEY]... [--delete-config] [--delete-toolbar]
        set configuration (gpsysname syszjxx kfqq yhqyhyfj ifctzqd hqurl khdsxsj sytsxx) or toolbar
        (an1mc..an11mc an1url..an11url an1xs..an11xs) values; without arguments print them
  add-user --db FILE --name N --level 0|1|2
        the password is read from standard input (a prompt on a terminal)
  applications --db FILE          id, name, date and mobile number of every pending application
  approve --db FILE NAME          turn a pending application into a level-0 account
  reject --db FILE NAME|--all     remove a pending application, or all of them
  kick --db FILE USERID           rewrite the user's login row as another login would
  users --db FILE                 id, name and level of every account
  logins --db FILE                userid, name, login time and address of every login row
  publish-alert --db FILE --level L --code C --price P --action A --reason R [--time T]
  edit-alert --db FILE --id N [--level L] [--code C] [--price P] [--action A] [--reason R] [--time T]
  delete-alert --db FILE --id N
  publish-info --db FILE --level L --type T --text X [--time T]
  edit-info --db FILE --id N [--level L] [--type T] [--text X] [--time T]
  delete-info --db FILE --id N
  publish-bulletin --db FILE --kind 1|2 --title T [--body B] [--level L] [--time T]
  edit-bulletin --db FILE --id N [--level L] [--title T] [--body B] [--time T]
  delete-bulletin --db FILE --id N

Levels: 0 普通用户, 1 会员, 2 VIP, 3 every level. T is local time "yyyy-MM-dd hh:mm:ss" (default: now).
)";

void printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void printError(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// One command's arguments, parsed against its options (plus --db, which every command takes).
class Invocation final
{
public:
    Invocation(const QString &command, const QStringList &arguments,
               const QList<QCommandLineOption> &options, bool takesPositional)
        : m_command(command)
    {
        m_parser.addOption(QCommandLineOption(QStringLiteral("db"), QStringLiteral("database file"),
                                              QStringLiteral("FILE")));
        m_parser.addOptions(options);
        if (!m_parser.parse(QStringList {command} + arguments))
            throw UsageError(m_parser.errorText());
        if (!takesPositional && !m_parser.positionalArguments().isEmpty()) {
            throw UsageError(QStringLiteral("%1 takes no argument \"%2\"")
                                 .arg(command, m_parser.positionalArguments().constFirst()));
        }
    }

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const { return m_parser.value(name); }
    QStringList values(const QString &name) const { return m_parser.values(name); }
    QStringList positional() const { return m_parser.positionalArguments(); }

    QString required(const QString &name) const
    {
        if (!isSet(name))
            throw UsageError(QStringLiteral("%1 needs --%2").arg(m_command, name));
        return value(name);
    }

    int integer(const QString &name, int minimum, int maximum) const
    {
        bool ok = false;
        const int number = required(name).toInt(&ok);
        if (!ok || number < minimum || number > maximum) {
            throw UsageError(QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
                                 .arg(name)
                                 .arg(minimum)
                                 .arg(maximum)
                                 .arg(value(name)));
        }
        return number;
    }

    std::optional<int> optionalInteger(const QString &name, int minimum, int maximum) const
    {
        return isSet(name) ? std::optional<int>(integer(name, minimum, maximum)) : std::nullopt;
    }

    qint64 id() const
    {
        bool ok = false;
        const qint64 number = required(QStringLiteral("id")).toLongLong(&ok);
        if (!ok || number <= 0)
            throw UsageError(QStringLiteral("--id must be a positive whole number, not \"%1\"")
                                 .arg(value(QStringLiteral("id"))));
        return number;
    }

    std::optional<QDateTime> time() const
    {
        if (!isSet(QStringLiteral("time")))
            return std::nullopt;
        const std::optional<QDateTime> parsed =
            LocalTime::parseOperatorTime(value(QStringLiteral("time")));
        if (!parsed) {
            throw UsageError(
                QStringLiteral("--time must be local time \"yyyy-MM-dd hh:mm:ss\", not \"%1\"")
                    .arg(value(QStringLiteral("time"))));
        }
        return parsed;
    }

    // Opens the database and makes sure its schema is there.
    std::unique_ptr<SqliteDatabase>
    openDatabase(Schema::ForeignFile foreign = Schema::ForeignFile::Refuse) const
    {
        const QString path = required(QStringLiteral("db"));
        if (path.isEmpty())
            throw UsageError(QStringLiteral("--db needs a file name"));
        auto db = std::make_unique<SqliteDatabase>(path);
        Schema::ensure(*db, foreign);
        return db;
    }

private:
    QString m_command;
    QCommandLineParser m_parser;
};

QCommandLineOption valueOption(const QString &name, const QString &valueName)
{
    return QCommandLineOption(name, name, valueName);
}

QCommandLineOption flagOption(const QString &name)
{
    return QCommandLineOption(name, name);
}

// Runs work inside one write transaction and commits it before answering.
template<typename Work> auto inTransaction(SqliteDatabase &db, Work work)
{
    SqliteDatabase::Transaction transaction(db);
    if constexpr (std::is_void_v<decltype(work())>) {
        work();
        transaction.commit();
    } else {
        auto result = work();
        transaction.commit();
        return result;
    }
}

// An option of a content command and the column it fills.
struct ContentField
{
    QString option;
    QString column;
    bool requiredToPublish;
};

// The publish-, edit- and delete- commands of one kind of content.
struct ContentCommands
{
    QString noun; // "alert" makes publish-alert, edit-alert and delete-alert
    ContentStore::Content content;
    QList<ContentField> fields;
};

const QList<ContentCommands> &contentCommands()
{
    static const QList<ContentCommands> commands {
        {QStringLiteral("alert"),
         ContentStore::Content::Alert,
         {{QStringLiteral("code"), QStringLiteral("gupiaodaima"), true},
          {QStringLiteral("price"), QStringLiteral("jg"), true},
          {QStringLiteral("action"), QStringLiteral("czfs"), true},
          {QStringLiteral("reason"), QStringLiteral("czly"), true}}},
        {QStringLiteral("info"),
         ContentStore::Content::LiveInfo,
         {{QStringLiteral("type"), QStringLiteral("zxlx"), true},
          {QStringLiteral("text"), QStringLiteral("zxnr"), true}}},
        {QStringLiteral("bulletin"),
         ContentStore::Content::Bulletin,
         {{QStringLiteral("title"), QStringLiteral("title"), true},
          {QStringLiteral("body"), QStringLiteral("body"), false}}},
    };
    return commands;
}

QList<QCommandLineOption> contentOptions(const ContentCommands &commands, bool withId)
{
    QList<QCommandLineOption> options {valueOption(QStringLiteral("level"), QStringLiteral("L")),
                                       valueOption(QStringLiteral("time"), QStringLiteral("T"))};
    if (withId)
        options.append(valueOption(QStringLiteral("id"), QStringLiteral("N")));
    else if (commands.content == ContentStore::Content::Bulletin)
        options.append(valueOption(QStringLiteral("kind"), QStringLiteral("K")));
    for (const ContentField &field : commands.fields)
        options.append(valueOption(field.option, field.option.toUpper()));
    return options;
}

// The field's text as the operator gave it, refused under the option's own name.
ContentStore::Fields::value_type fieldValue(const Invocation &invocation, const ContentField &field)
{
    const QString text = invocation.required(field.option);
    ContentStore::checkText(QStringLiteral("--") + field.option, text);
    return {field.column, text};
}

int publishContent(const ContentCommands &commands, const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("publish-") + commands.noun, arguments,
                                contentOptions(commands, false), false);
    const bool isBulletin = commands.content == ContentStore::Content::Bulletin;
    ContentStore::NewEntry entry;
    entry.level = isBulletin && !invocation.isSet(QStringLiteral("level"))
        ? 3
        : invocation.integer(QStringLiteral("level"), 0, 3);
    entry.time = invocation.time().value_or(ServerClock::now());
    if (isBulletin)
        entry.bulletinKind = invocation.integer(QStringLiteral("kind"), 1, 2);
    for (const ContentField &field : commands.fields) {
        if (field.requiredToPublish || invocation.isSet(field.option))
            entry.fields.append(fieldValue(invocation, field));
    }
    const auto db = invocation.openDatabase();
    const qint64 id =
        inTransaction(*db, [&] { return ContentStore::publish(*db, commands.content, entry); });
    printLine(QString::number(id));
    return 0;
}

int editContent(const ContentCommands &commands, const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("edit-") + commands.noun, arguments,
                                contentOptions(commands, true), false);
    const qint64 id = invocation.id();
    ContentStore::EntryChange change;
    change.level = invocation.optionalInteger(QStringLiteral("level"), 0, 3);
    change.time = invocation.time();
    for (const ContentField &field : commands.fields) {
        if (invocation.isSet(field.option))
            change.fields.append(fieldValue(invocation, field));
    }
    const auto db = invocation.openDatabase();
    inTransaction(*db, [&] { ContentStore::edit(*db, commands.content, id, change); });
    return 0;
}

int deleteContent(const ContentCommands &commands, const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("delete-") + commands.noun, arguments,
                                {valueOption(QStringLiteral("id"), QStringLiteral("N"))}, false);
    const qint64 id = invocation.id();
    const auto db = invocation.openDatabase();
    inTransaction(*db, [&] { ContentStore::remove(*db, commands.content, id); });
    return 0;
}

// "127.0.0.1:8080", "[::1]:0", "localhost:8080", "*:8080".
std::pair<QHostAddress, quint16> parseListen(const QString &text, QString *shownHost)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon < 0 ? 0 : text.mid(colon + 1).toUInt(&portOk);
    if (colon < 0 || !portOk || port > 65535)
        throw UsageError(
            QStringLiteral("--listen must be ADDR:PORT, e.g. 127.0.0.1:8080, not \"%1\"")
                .arg(text));
    QString host = text.left(colon);
    *shownHost = host;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    QHostAddress address;
    if (host == u"localhost")
        address = QHostAddress(QHostAddress::LocalHost);
    else if (host == u"*" || host.isEmpty())
        address = QHostAddress(QHostAddress::AnyIPv4);
    else if (!address.setAddress(host))
        throw UsageError(QStringLiteral("--listen: \"%1\" is not an IP address").arg(host));
    return {address, quint16(port)};
}

int serve(const QStringList &arguments)
{
    const Invocation invocation(
        QStringLiteral("serve"), arguments,
        {valueOption(QStringLiteral("listen"), QStringLiteral("ADDR:PORT")),
         valueOption(QStringLiteral("namespace"), QStringLiteral("URI")),
         valueOption(QStringLiteral("idle-timeout"), QStringLiteral("S")),
         valueOption(QStringLiteral("max-connections"), QStringLiteral("N"))},
        false);
    ConnectionLimits limits;
    if (invocation.isSet(QStringLiteral("idle-timeout")))
        limits.idleTimeoutMs = invocation.integer(QStringLiteral("idle-timeout"), 1, 3600) * 1000;
    if (invocation.isSet(QStringLiteral("max-connections")))
        limits.maxConnections = invocation.integer(QStringLiteral("max-connections"), 1, 100000);
    const QString listen = invocation.isSet(QStringLiteral("listen"))
        ? invocation.value(QStringLiteral("listen"))
        : QStringLiteral("127.0.0.1:8080");
    QString shownHost;
    const auto [address, port] = parseListen(listen, &shownHost);
    const QString serviceNamespace = invocation.isSet(QStringLiteral("namespace"))
        ? invocation.value(QStringLiteral("namespace"))
        : Soap::DefaultServiceNamespace;
    if (serviceNamespace.isEmpty() || serviceNamespace.contains(QLatin1Char('"'))
        || serviceNamespace.contains(QLatin1Char('<'))
        || serviceNamespace.contains(QLatin1Char('&')))
        throw UsageError(QStringLiteral("--namespace must be a URI"));

#ifdef __GLIBC__
    // The buffers of large requests go back to the system when freed, so a flood of them does
    // not leave the heap at its peak (glibc would keep blocks of that size in the heap after the
    // first is freed).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    const auto db = invocation.openDatabase();
    // A damaged file is found now, not by the first request that reads the damaged page.
    if (const QString problem = db->quickCheck(); !problem.isEmpty())
        throw ServerError(QStringLiteral("%1 is damaged (%2); restore it from a backup")
                              .arg(db->path(), problem));
    SignalQuit signalQuit;
    OperatorHttpServer server(*db, serviceNamespace);
    const quint16 actualPort = server.listenOn(address, port, limits);
    if (actualPort == 0)
        throw ServerError(
            QStringLiteral("cannot listen on %1: %2").arg(listen, server.listenError()));
    printLine(QStringLiteral("listening http://%1:%2/").arg(shownHost).arg(actualPort));
    return QCoreApplication::exec();
}

int seed(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("seed"), arguments,
                                {flagOption(QStringLiteral("demo")),
                                 valueOption(QStringLiteral("base"), QStringLiteral("URL"))},
                                false);
    if (invocation.isSet(QStringLiteral("base")) && !invocation.isSet(QStringLiteral("demo")))
        throw UsageError(QStringLiteral("--base belongs to --demo"));
    const QString base = invocation.isSet(QStringLiteral("demo"))
        ? invocation.required(QStringLiteral("base"))
        : QString();
    // Seeding is how an operator asks for TipDesk's tables in a file that holds others.
    const auto db = invocation.openDatabase(Schema::ForeignFile::AddTables);
    if (invocation.isSet(QStringLiteral("demo"))) {
        inTransaction(*db, [&] { DemoSeed::fill(*db, base); });
        printLine(QStringLiteral("demo database ready: %1").arg(db->path()));
        // The guide is docs/server.md in the source and /usr/share/doc/tipdesk/ when installed.
        printLine(QStringLiteral("demo accounts (their passwords are in the operator's guide, "
                                 "/usr/share/doc/tipdesk/server.md, or docs/server.md in the "
                                 "source):"));
        for (const QString &account : DemoSeed::accountSummary())
            printLine(QStringLiteral("  ") + account);
    }
    return 0;
}

int config(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("config"), arguments,
                                {valueOption(QStringLiteral("null"), QStringLiteral("KEY")),
                                 flagOption(QStringLiteral("delete-config")),
                                 flagOption(QStringLiteral("delete-toolbar"))},
                                true);
    QList<QPair<QString, QVariant>> changes;
    for (const QString &assignment : invocation.positional()) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            throw UsageError(
                QStringLiteral("\"%1\" is not KEY=VALUE (use --null KEY to clear a column)")
                    .arg(assignment));
        }
        changes.append({assignment.left(equals), assignment.mid(equals + 1)});
    }
    for (const QString &key : invocation.values(QStringLiteral("null")))
        changes.append({key, QVariant()});
    for (const auto &[key, value] : changes) {
        if (!Configuration::tableOfKey(key))
            throw UsageError(QStringLiteral("unknown configuration key \"%1\"").arg(key));
        if (!value.isNull())
            ContentStore::checkText(key, value.toString());
    }

    const auto db = invocation.openDatabase();
    const bool deleteConfig = invocation.isSet(QStringLiteral("delete-config"));
    const bool deleteToolbar = invocation.isSet(QStringLiteral("delete-toolbar"));
    if (changes.isEmpty() && !deleteConfig && !deleteToolbar) {
        for (const QString &line : Configuration::describe(*db))
            printLine(line);
        return 0;
    }
    inTransaction(*db, [&] {
        if (deleteConfig)
            Configuration::deleteRecord(*db, Schema::configuration());
        if (deleteToolbar)
            Configuration::deleteRecord(*db, Schema::toolbar());
        for (const auto &[key, value] : changes)
            Configuration::setValue(*db, key, value);
    });
    return 0;
}

int addUser(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("add-user"), arguments,
                                {valueOption(QStringLiteral("name"), QStringLiteral("N")),
                                 valueOption(QStringLiteral("password"), QStringLiteral("P")),
                                 valueOption(QStringLiteral("level"), QStringLiteral("L"))},
                                false);
    const QString name = invocation.required(QStringLiteral("name"));
    const int level = invocation.integer(QStringLiteral("level"), 0, 2);
    QString password;
    if (invocation.isSet(QStringLiteral("password"))) {
        printError(QStringLiteral("tipdesk-server add-user: warning: --password shows the password "
                                  "to every user of this machine; give it on standard input"));
        password = invocation.value(QStringLiteral("password"));
    } else {
        password = PasswordInput::read(QStringLiteral("Password for %1: ").arg(name));
        if (password.isEmpty())
            throw UsageError(QStringLiteral("add-user needs a password on standard input"));
    }
    const auto db = invocation.openDatabase();
    const qint64 id = inTransaction(*db, [&] { return Accounts::add(*db, name, password, level); });
    printLine(QString::number(id));
    return 0;
}

QString onlyPositional(const Invocation &invocation, const QString &command, const QString &what)
{
    if (invocation.positional().size() != 1)
        throw UsageError(QStringLiteral("%1 takes exactly one %2").arg(command, what));
    return invocation.positional().constFirst();
}

int approve(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("approve"), arguments, {}, true);
    const QString name =
        onlyPositional(invocation, QStringLiteral("approve"), QStringLiteral("NAME"));
    const auto db = invocation.openDatabase();
    const qint64 id = inTransaction(*db, [&] { return Accounts::approve(*db, name); });
    printLine(QString::number(id));
    return 0;
}

int reject(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("reject"), arguments,
                                {flagOption(QStringLiteral("all"))}, true);
    if (invocation.isSet(QStringLiteral("all"))) {
        if (!invocation.positional().isEmpty())
            throw UsageError(QStringLiteral("reject takes NAME or --all, not both"));
        const auto db = invocation.openDatabase();
        printLine(QString::number(inTransaction(*db, [&] { return Accounts::rejectAll(*db); })));
        return 0;
    }
    const QString name =
        onlyPositional(invocation, QStringLiteral("reject"), QStringLiteral("NAME"));
    const auto db = invocation.openDatabase();
    if (!inTransaction(*db, [&] { return Accounts::reject(*db, name); }))
        throw ServerError(QStringLiteral("there is no pending application named \"%1\"").arg(name));
    return 0;
}

int kick(const QStringList &arguments)
{
    const Invocation invocation(QStringLiteral("kick"), arguments, {}, true);
    const QString text =
        onlyPositional(invocation, QStringLiteral("kick"), QStringLiteral("USERID"));
    bool ok = false;
    const qint64 userId = text.toLongLong(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("USERID must be a number, not \"%1\"").arg(text));
    const auto db = invocation.openDatabase();
    inTransaction(*db, [&] { Accounts::kick(*db, userId); });
    return 0;
}

int listRows(const QString &command, const QStringList &arguments,
             const std::function<QList<SqlRow>(SqliteDatabase &)> &rowsOf)
{
    const Invocation invocation(command, arguments, {}, false);
    const auto db = invocation.openDatabase();
    for (const SqlRow &row : rowsOf(*db)) {
        QStringList cells;
        for (const QVariant &cell : row)
            cells.append(cell.toString());
        printLine(cells.join(QLatin1Char('\t')));
    }
    return 0;
}

using CommandFunction = std::function<int(const QStringList &)>;

QHash<QString, CommandFunction> commandTable()
{
    QHash<QString, CommandFunction> table {
        {QStringLiteral("serve"), serve},
        {QStringLiteral("seed"), seed},
        {QStringLiteral("config"), config},
        {QStringLiteral("add-user"), addUser},
        {QStringLiteral("approve"), approve},
        {QStringLiteral("kick"), kick},
        {QStringLiteral("users"),
         [](const QStringList &a) { return listRows(QStringLiteral("users"), a, Accounts::list); }},
        {QStringLiteral("logins"),
         [](const QStringList &a) {
             return listRows(QStringLiteral("logins"), a, Accounts::loginRows);
         }},
        {QStringLiteral("applications"),
         [](const QStringList &a) {
             return listRows(QStringLiteral("applications"), a, Accounts::applications);
         }},
        {QStringLiteral("reject"), reject},
    };
    for (const ContentCommands &commands : contentCommands()) {
        table.insert(QStringLiteral("publish-") + commands.noun,
                     [&commands](const QStringList &a) { return publishContent(commands, a); });
        table.insert(QStringLiteral("edit-") + commands.noun,
                     [&commands](const QStringList &a) { return editContent(commands, a); });
        table.insert(QStringLiteral("delete-") + commands.noun,
                     [&commands](const QStringList &a) { return deleteContent(commands, a); });
    }
    return table;
}

} // namespace

int run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        printError(QString::fromUtf8(Usage));
        return 2;
    }
    const QString command = arguments.constFirst();
    if (command == u"help" || command == u"--help" || command == u"-h") {
        printLine(QString::fromUtf8(Usage));
        return 0;
    }
    if (command == u"--version" || command == u"version") {
        printLine(QStringLiteral("tipdesk-server ") + QStringLiteral(TIPDESK_VERSION));
        return 0;
    }
    const QHash<QString, CommandFunction> commands = commandTable();
    const auto found = commands.constFind(command);
    if (found == commands.constEnd()) {
        printError(QStringLiteral("tipdesk-server: unknown command \"%1\"\n").arg(command)
                   + QString::fromUtf8(Usage));
        return 2;
    }
    try {
        return (*found)(arguments.mid(1));
    } catch (const UsageError &error) {
        printError(
            QStringLiteral("tipdesk-server %1: %2\n(tipdesk-server help shows every command)")
                .arg(command, error.message()));
        return 2;
    } catch (const ServerError &error) {
        printError(QStringLiteral("tipdesk-server %1: %2").arg(command, error.message()));
        return 1;
    } catch (const std::exception &error) {
        printError(
            QStringLiteral("tipdesk-server %1: %2").arg(command, QString::fromUtf8(error.what())));
        return 1;
    }
}

} // namespace OperatorCommands

} // namespace server
