#include "journallocation.h"

#include <QDir>
#include <QUrl>
#include <QUrlQuery>

QString JournalLocation::shownName() const
{
    switch (kind) {
    case Kind::Off:
        return {};
    case Kind::Sqlite:
        return path;
    case Kind::Postgres: {
        QUrl url;
        url.setScheme(QStringLiteral("postgresql"));
        url.setHost(host.startsWith(QLatin1Char('/')) ? QString() : host);
        url.setPort(port);
        url.setUserName(user);
        url.setPath(QLatin1Char('/') + database);
        QUrlQuery query;
        if (host.startsWith(QLatin1Char('/')))
            query.addQueryItem(QStringLiteral("host"), host);
        for (const QString &option : options.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            query.addQueryItem(option.section(QLatin1Char('='), 0, 0), option.section(QLatin1Char('='), 1));
        url.setQuery(query);
        return url.toString();
    }
    }
    return {};
}

QString defaultJournalPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tavir340/journal.sqlite");
}

JournalLocation parseJournalDestination(const QString &destination)
{
    JournalLocation location;
    if (!destination.startsWith(QLatin1String("postgresql://")) && !destination.startsWith(QLatin1String("postgres://"))) {
        location.kind = JournalLocation::Kind::Sqlite;
        location.path = destination;
        return location;
    }
    const QUrl url(destination);
    location.kind = JournalLocation::Kind::Postgres;
    location.host = url.host();
    location.port = url.port();
    location.user = url.userName();
    location.password = url.password();
    location.database = url.path().mid(1);
    QStringList options;
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host"))
            location.host = value;  // a socket folder
        else if (key == QLatin1String("port"))
            location.port = value.toInt();
        else if (key == QLatin1String("user"))
            location.user = value;
        else if (key == QLatin1String("dbname"))
            location.database = value;
        else if (key == QLatin1String("password"))
            location.password = value;
        else
            options << key + QLatin1Char('=') + value;
    }
    location.options = options.join(QLatin1Char(';'));
    return location;
}

JournalLocation journalLocation(const QString &option, bool off)
{
    if (off)
        return {};
    if (!option.isEmpty())
        return parseJournalDestination(option);
    const QString fromEnvironment = qEnvironmentVariable("TAVIR340_JOURNAL");
    if (!fromEnvironment.isEmpty())
        return parseJournalDestination(fromEnvironment);
    JournalLocation location = parseJournalDestination(defaultJournalPath());
    location.isDefault = true;
    return location;
}
