#include "journalrules.h"

#include "journalentry.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace {

// Who owns the journal's tables may change them (a new version's columns).
const char *const OwnerTest =
    "pg_has_role(current_user, (SELECT relowner FROM pg_class WHERE oid = 'entries'::regclass), 'MEMBER')";

QString entriesRule()
{
    return QStringLiteral(R"(
BEGIN
  IF %1 THEN RETURN NEW; END IF;
  IF TG_OP = 'INSERT' THEN
    IF NEW.result IS NOT NULL OR NEW.ended_at IS NOT NULL THEN
      RAISE EXCEPTION 'tavir340: an entry is written open and ended by its own run';
    END IF;
    RETURN NEW;
  END IF;
  IF OLD.result IS NOT NULL THEN
    RAISE EXCEPTION 'tavir340: entry % has ended; it does not change', OLD.id;
  END IF;
  IF NEW.operation = '%2' AND NEW.result = '%3' AND NOT (
      EXISTS (SELECT 1 FROM entries WHERE unit = NEW.unit AND id > NEW.id AND operation = '%4' AND result = '%3')
      AND EXISTS (SELECT 1 FROM entries WHERE unit = NEW.unit AND id > NEW.id AND operation = '%5' AND result = '%3')) THEN
    RAISE EXCEPTION 'tavir340: unit % has no download and verify since its claim to prove it', NEW.unit;
  END IF;
  RETURN NEW;
END)")
        .arg(QLatin1String(OwnerTest), JournalName::Provision, JournalName::Ok, JournalName::Download, JournalName::Verify);
}

QString claimsRule(qint64 longestLeaseMs)
{
    return QStringLiteral(R"(
DECLARE
  now_ms BIGINT := (EXTRACT(EPOCH FROM clock_timestamp()) * 1000)::BIGINT;
  longest BIGINT := %1;
BEGIN
  IF %2 THEN RETURN COALESCE(NEW, OLD); END IF;
  IF TG_OP = 'DELETE' THEN
    IF OLD.lease_until >= now_ms AND EXISTS (SELECT 1 FROM entries WHERE id = OLD.entry_id AND result IS NULL) THEN
      RAISE EXCEPTION 'tavir340: the claim on % is live; only its own run lets it go', OLD.unit;
    END IF;
    RETURN OLD;
  END IF;
  IF NEW.lease_until > now_ms + longest THEN
    RAISE EXCEPTION 'tavir340: a lease is at most % ms', longest;
  END IF;
  IF TG_OP = 'UPDATE' AND NEW.lease_until < OLD.lease_until THEN
    RAISE EXCEPTION 'tavir340: a lease is renewed, never shortened';
  END IF;
  IF TG_OP = 'INSERT' AND NOT EXISTS (SELECT 1 FROM entries WHERE id = NEW.entry_id AND unit = NEW.unit
                                      AND operation = '%3' AND result IS NULL) THEN
    RAISE EXCEPTION 'tavir340: a claim on % is taken with its own open entry', NEW.unit;
  END IF;
  RETURN NEW;
END)")
        .arg(longestLeaseMs)
        .arg(QLatin1String(OwnerTest), JournalName::Provision);
}

bool single(QSqlQuery &query, const QString &statement, QVariant *value)
{
    if (!query.exec(statement) || !query.next())
        return false;
    *value = query.value(0);
    return true;
}

// Whether the rules in the database are these, on both tables.
bool rulesAreThese(QSqlQuery &query, const QString &claims)
{
    QVariant source;
    QVariant triggers;
    return single(query, QStringLiteral("SELECT prosrc FROM pg_proc WHERE proname = 'tavir340_claims_rule'"), &source)
        && source.toString() == claims
        && single(query, QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname IN ('tavir340_entries_rule', 'tavir340_claims_rule')"
                                        " AND tgenabled <> 'D'"),
                  &triggers)
        && triggers.toInt() == 2;
}

} // namespace

bool keepJournalRules(QSqlQuery &query, qint64 longestLeaseMs)
{
    QVariant owner;
    QVariant schema;
    if (!single(query, QStringLiteral("SELECT %1, current_schema()").arg(QLatin1String(OwnerTest)), &owner))
        return false;
    schema = query.value(1);
    const QString claims = claimsRule(longestLeaseMs);
    if (!owner.toBool() || rulesAreThese(query, claims))
        return true;
    // Its own schema first and pg_temp last: a station's temporary table
    // named "entries" is never the one a rule reads.
    const QString path = QStringLiteral("SET search_path = \"%1\", pg_temp").arg(schema.toString().replace(u'"', QStringLiteral("\"\"")));
    auto function = [&](const char *name, const QString &body) {
        return query.exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql %2 AS $rule$%3$rule$")
                              .arg(QLatin1String(name), path, body));
    };
    return function("tavir340_entries_rule", entriesRule()) && function("tavir340_claims_rule", claims)
        && query.exec(QStringLiteral("DROP TRIGGER IF EXISTS tavir340_entries_rule ON entries"))
        && query.exec(QStringLiteral("CREATE TRIGGER tavir340_entries_rule BEFORE INSERT OR UPDATE ON entries"
                                     " FOR EACH ROW EXECUTE FUNCTION tavir340_entries_rule()"))
        && query.exec(QStringLiteral("DROP TRIGGER IF EXISTS tavir340_claims_rule ON claims"))
        && query.exec(QStringLiteral("CREATE TRIGGER tavir340_claims_rule BEFORE INSERT OR UPDATE OR DELETE ON claims"
                                     " FOR EACH ROW EXECUTE FUNCTION tavir340_claims_rule()"))
        && rulesAreThese(query, claims);
}
