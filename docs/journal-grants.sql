-- What the stations' role may do, given by the tables' owner once
-- `tavir340-cli journal init` has made them: add entries and end them,
-- claim, renew and release units. The journal's own rules (made by
-- `journal init`) bind it further.
GRANT SELECT, INSERT ON entries TO tavir340;
GRANT SELECT ON journal_schema TO tavir340;
GRANT UPDATE (ended_at, result, exit_code, message, differences, bytes_sent, bytes_received,
              backup, module_id, module_name, content, content_sha256, record_sha256, file) ON entries TO tavir340;
GRANT SELECT, INSERT, DELETE ON claims TO tavir340;
GRANT UPDATE (lease_until) ON claims TO tavir340;
