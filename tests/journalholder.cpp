// Holds a SQLite journal as another program might: the whole file locked,
// nobody else reading or writing, from the moment it prints "held" until its
// standard input closes, or for the milliseconds given.
//
//     journalholder FILE [MS]

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: journalholder FILE [MS]\n");
        return 2;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"))
            || !query.exec(QStringLiteral("BEGIN EXCLUSIVE")) || !query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            std::fprintf(stderr, "journalholder: cannot lock %s\n", argv[1]);
            return 1;
        }
        query.finish();
        std::printf("held\n");
        std::fflush(stdout);
        if (argc > 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[2])));
        else
            while (std::getchar() != EOF) {
            }
        query.exec(QStringLiteral("COMMIT"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    return 0;
}
