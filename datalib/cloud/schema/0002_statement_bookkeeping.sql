-- A statement that writes many records (the first upload sends 400 at a time) gives them one
-- change counter value and keeps the account's and zones' books once, not once per record:
-- repeated updates of one row inside a transaction grow its version chain and made each batch
-- slow.
--
-- Records also get an optional creation key, unique per owner: a create sent again after a
-- connection broke before its answer (or after the client was killed) finds the record the
-- first attempt made instead of making a second one.

ALTER TABLE zestra.records ADD COLUMN creation_key uuid;
CREATE UNIQUE INDEX records_creation ON zestra.records (owner, creation_key);
GRANT INSERT (creation_key) ON zestra.records TO zestra_users;

DROP TRIGGER records_before ON zestra.records;
DROP TRIGGER records_after ON zestra.records;
DROP FUNCTION zestra.records_before();
DROP FUNCTION zestra.records_after();

-- The account's books: adds `delta_bytes` to the usage of `writer` and `step` (0 or 1) to its
-- change counter, holding the account row's lock until the transaction ends; the counter
-- value, or NULL while an administrator deletes the account and, through it, the user's data.
-- Raises ZQ001 when a growth passes the quota.
CREATE FUNCTION zestra.account_books(writer name, delta_bytes bigint, step integer)
RETURNS bigint
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
DECLARE
    counter bigint;
    used bigint;
    quota bigint;
BEGIN
    -- Runs as the administrator: the session's own role must be the writer (or act for it).
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = writer) THEN
        RAISE EXCEPTION 'zestra: % has no cloud account', writer USING ERRCODE = 'ZA001';
    END IF;
    IF NOT pg_catalog.pg_has_role(session_user, writer, 'MEMBER') THEN
        RAISE EXCEPTION 'zestra: % may not write the records of %', session_user, writer
            USING ERRCODE = '42501';
    END IF;
    UPDATE zestra.accounts
       SET change_counter = change_counter + step, usage_bytes = usage_bytes + delta_bytes
     WHERE owner = writer
    RETURNING change_counter, usage_bytes, quota_bytes INTO counter, used, quota;
    IF counter IS NULL THEN
        IF session_user <> writer THEN
            RETURN NULL;
        END IF;
        RAISE EXCEPTION 'zestra: % has no cloud account', writer USING ERRCODE = 'ZA001';
    END IF;
    IF delta_bytes > 0 AND used > quota THEN
        RAISE EXCEPTION 'zestra: quota exceeded: % would use % of % bytes', writer, used, quota
            USING ERRCODE = 'ZQ001';
    END IF;
    RETURN counter;
END
$$;

-- Takes the next counter value (the zones' and assets' triggers, deletions).
CREATE OR REPLACE FUNCTION zestra.account_change(writer name, delta_bytes bigint) RETURNS bigint
LANGUAGE sql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
    SELECT zestra.account_books(writer, delta_bytes, 1)
$$;

-- The rows of one statement share the counter value its first row took. The value is kept in
-- a setting ("<counter> <owner>") that every statement on records empties as it starts; a
-- session-level setting, because a function's own SET clause undoes local ones on return.
CREATE FUNCTION zestra.records_statement_start() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    PERFORM pg_catalog.set_config('zestra.statement_counter', '', false);
    RETURN NULL;
END
$$;

CREATE FUNCTION zestra.statement_counter(writer name) RETURNS bigint
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
DECLARE
    cached text := pg_catalog.current_setting('zestra.statement_counter', true);
    separator integer := pg_catalog.strpos(coalesce(cached, ''), ' ');
    counter bigint;
BEGIN
    IF separator > 0 AND pg_catalog.substr(cached, separator + 1) = writer THEN
        RETURN pg_catalog.substr(cached, 1, separator - 1)::bigint;
    END IF;
    counter := zestra.account_change(writer, 0);
    IF counter IS NOT NULL THEN
        PERFORM pg_catalog.set_config('zestra.statement_counter', counter || ' ' || writer, false);
    END IF;
    RETURN counter;
END
$$;

CREATE FUNCTION zestra.records_before() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    IF TG_OP = 'INSERT' THEN
        NEW.record_name := gen_random_uuid();
    ELSE
        IF NEW.owner <> OLD.owner OR NEW.zone_name <> OLD.zone_name
           OR NEW.record_name <> OLD.record_name OR NEW.record_type <> OLD.record_type
           OR NEW.creation_key IS DISTINCT FROM OLD.creation_key THEN
            RAISE EXCEPTION 'zestra: a record keeps its owner, zone, name, type and creation key'
                USING ERRCODE = '42501';
        END IF;
        IF NEW.change_tag <> OLD.change_tag THEN
            RAISE EXCEPTION 'zestra: record % changed on the server since it was read',
                OLD.record_name USING ERRCODE = 'ZT001';
        END IF;
    END IF;
    NEW.size_bytes := octet_length(NEW.fields::text) + octet_length(NEW.record_type) + 64;
    NEW.change_tag := gen_random_uuid();
    NEW.changed_counter := zestra.statement_counter(NEW.owner);
    RETURN NEW;
END
$$;

-- Usage, zone counters and the notification for what one statement wrote of one owner:
-- `zones` maps each zone written to the counter value its rows took.
CREATE FUNCTION zestra.records_written(writer name, delta_bytes bigint, zones jsonb)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    IF zestra.account_books(writer, delta_bytes, 0) IS NOT NULL THEN
        UPDATE zestra.zones AS zone
           SET changed_counter = greatest(zone.changed_counter, changed.latest::bigint)
          FROM jsonb_each_text(zones) AS changed(zone_name, latest)
         WHERE zone.owner = writer AND zone.zone_name = changed.zone_name;
        PERFORM zestra.notify_owner(writer);
    END IF;
END
$$;

CREATE FUNCTION zestra.records_inserted() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    PERFORM zestra.records_written(owner, sum(delta)::bigint, jsonb_object_agg(zone_name, latest))
       FROM (SELECT owner, zone_name, sum(size_bytes) AS delta, max(changed_counter) AS latest
               FROM written GROUP BY owner, zone_name) AS by_zone
      GROUP BY owner;
    RETURN NULL;
END
$$;

CREATE FUNCTION zestra.records_updated() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    PERFORM zestra.records_written(owner, sum(delta)::bigint, jsonb_object_agg(zone_name, latest))
       FROM (SELECT owner, written.zone_name,
                    sum(written.size_bytes - replaced.size_bytes) AS delta,
                    max(written.changed_counter) AS latest
               FROM written JOIN replaced USING (owner, record_name)
              GROUP BY owner, written.zone_name) AS by_zone
      GROUP BY owner;
    RETURN NULL;
END
$$;

-- Deletions take one counter value per owner, after the statement, for their tombstones.
CREATE FUNCTION zestra.records_deleted() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
DECLARE
    writer record;
    counter bigint;
BEGIN
    FOR writer IN SELECT owner, sum(size_bytes)::bigint AS freed FROM removed GROUP BY owner LOOP
        counter := zestra.account_change(writer.owner, -writer.freed);
        -- NULL while an administrator deletes the account and, through it, the user's data.
        CONTINUE WHEN counter IS NULL;
        INSERT INTO zestra.tombstones (owner, zone_name, record_name, record_type, changed_counter)
        SELECT owner, zone_name, record_name, record_type, counter FROM removed
         WHERE owner = writer.owner
        ON CONFLICT (owner, record_name) DO UPDATE SET changed_counter = EXCLUDED.changed_counter;
        UPDATE zestra.zones SET changed_counter = greatest(changed_counter, counter)
         WHERE owner = writer.owner
           AND zone_name IN (SELECT zone_name FROM removed WHERE owner = writer.owner);
        PERFORM zestra.notify_owner(writer.owner);
    END LOOP;
    RETURN NULL;
END
$$;

CREATE TRIGGER records_statement_start BEFORE INSERT OR UPDATE OR DELETE ON zestra.records
    FOR EACH STATEMENT EXECUTE FUNCTION zestra.records_statement_start();
CREATE TRIGGER records_before BEFORE INSERT OR UPDATE ON zestra.records
    FOR EACH ROW EXECUTE FUNCTION zestra.records_before();
CREATE TRIGGER records_inserted AFTER INSERT ON zestra.records
    REFERENCING NEW TABLE AS written
    FOR EACH STATEMENT EXECUTE FUNCTION zestra.records_inserted();
CREATE TRIGGER records_updated AFTER UPDATE ON zestra.records
    REFERENCING OLD TABLE AS replaced NEW TABLE AS written
    FOR EACH STATEMENT EXECUTE FUNCTION zestra.records_updated();
CREATE TRIGGER records_deleted AFTER DELETE ON zestra.records
    REFERENCING OLD TABLE AS removed
    FOR EACH STATEMENT EXECUTE FUNCTION zestra.records_deleted();

REVOKE ALL ON FUNCTION zestra.account_books(name, bigint, integer) FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.statement_counter(name) FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_statement_start() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_before() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_written(name, bigint, jsonb) FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_inserted() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_updated() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_deleted() FROM PUBLIC;
