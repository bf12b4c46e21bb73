-- The stations' shared journal, made once on the database server by its
-- administrator (sudo -u postgres psql -f journal-database.sql): an owner
-- that makes the tables, and a role for the stations. Put real passwords in.
CREATE ROLE tavir340_admin LOGIN PASSWORD '…';
CREATE ROLE tavir340 LOGIN PASSWORD '…';
CREATE DATABASE tavir340 OWNER tavir340_admin;
\c tavir340
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT CREATE ON SCHEMA public TO tavir340_admin;
