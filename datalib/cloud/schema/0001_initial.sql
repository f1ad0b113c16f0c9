-- The private cloud databases of every user of one server, in schema "zestra".
-- CloudSchema runs this in its own transaction, as the administrator who owns the schema,
-- after creating the schema and zestra.schema_version itself.
--
-- Every table holds an "owner" (the user's role) in its primary key and in every foreign key,
-- so the tables can be distributed by owner and no row ever points at another user's row.
-- Row-level security limits every client to owner = current_user. The bookkeeping (change
-- counter, usage, tombstones, zone counters) is done by SECURITY DEFINER triggers running as
-- the administrator; clients are only ever granted the columns they may write. RLS is not
-- forced: the only role that bypasses it is the administrator that owns the tables, whose
-- triggers must see every owner's account row, and which is never handed to a client.

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'zestra_users') THEN
        CREATE ROLE zestra_users NOLOGIN;
    END IF;
END
$$;

ALTER TABLE zestra.schema_version ENABLE ROW LEVEL SECURITY;
CREATE POLICY everyone_reads ON zestra.schema_version FOR SELECT USING (true);

-- One row per user. change_counter orders every change of the user's data: each write takes
-- this row's lock until it commits, so changes commit in counter order.
CREATE TABLE zestra.accounts (
    owner name PRIMARY KEY,
    change_counter bigint NOT NULL DEFAULT 0,
    -- LISTEN/NOTIFY ignore row-level security, so the channel name is the secret.
    channel text NOT NULL DEFAULT 'zestra_' || replace(gen_random_uuid()::text, '-', ''),
    quota_bytes bigint NOT NULL CHECK (quota_bytes >= 0),
    usage_bytes bigint NOT NULL DEFAULT 0
);

CREATE TABLE zestra.zones (
    owner name NOT NULL DEFAULT current_user,
    zone_name text NOT NULL CHECK (zone_name <> '' AND length(zone_name) <= 255),
    created_counter bigint NOT NULL DEFAULT 0,
    -- The counter of the zone's latest change: "which zones changed after N".
    changed_counter bigint NOT NULL DEFAULT 0,
    PRIMARY KEY (owner, zone_name),
    FOREIGN KEY (owner) REFERENCES zestra.accounts (owner) ON DELETE CASCADE
);
CREATE INDEX zones_changes ON zestra.zones (owner, changed_counter);

-- Field values are typed: {"name": {"type": "string", "value": "Write"},
-- "startTime": {"type": "date", "value": 600000000.1234568}, "duration": {"type": "int64",
-- "value": 1500}, "taskInfo": {"type": "reference", "value": "<record name>", "zone":
-- "TasksInfoZone", "action": "none"}, "image": {"type": "asset"}}. A date is seconds since
-- 2001-01-01 UTC; jsonb keeps a number's decimal digits exactly, so the shortest text of a
-- float8 reads back as the same float8.
CREATE FUNCTION zestra.valid_fields(fields jsonb) RETURNS boolean
LANGUAGE sql IMMUTABLE PARALLEL SAFE
AS $$
    SELECT jsonb_typeof(fields) = 'object' AND NOT EXISTS (
        SELECT FROM jsonb_each(fields) AS field(key, value)
        WHERE NOT coalesce(CASE WHEN jsonb_typeof(field.value) <> 'object' THEN false
            ELSE CASE field.value->>'type'
                WHEN 'string' THEN jsonb_typeof(field.value->'value') = 'string'
                WHEN 'int64' THEN jsonb_typeof(field.value->'value') = 'number'
                WHEN 'double' THEN jsonb_typeof(field.value->'value') = 'number'
                WHEN 'date' THEN jsonb_typeof(field.value->'value') = 'number'
                WHEN 'reference' THEN jsonb_typeof(field.value->'value') = 'string'
                    AND field.value->>'value' ~ '^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$'
                    AND jsonb_typeof(field.value->'zone') = 'string'
                WHEN 'asset' THEN true
                ELSE false
            END END, false))
$$;

CREATE TABLE zestra.records (
    owner name NOT NULL DEFAULT current_user,
    zone_name text NOT NULL,
    -- Assigned by the server on insert, whatever the client sends.
    record_name uuid NOT NULL DEFAULT gen_random_uuid(),
    record_type text NOT NULL CHECK (record_type <> '' AND length(record_type) <= 255),
    fields jsonb NOT NULL DEFAULT '{}' CONSTRAINT fields_are_typed CHECK (zestra.valid_fields(fields)),
    -- New on every save. An update that sets change_tag is refused unless it names the
    -- current one ("save only if unchanged"); one that leaves it out overwrites.
    change_tag uuid NOT NULL DEFAULT gen_random_uuid(),
    changed_counter bigint NOT NULL DEFAULT 0,
    size_bytes bigint NOT NULL DEFAULT 0,
    PRIMARY KEY (owner, record_name),
    FOREIGN KEY (owner, zone_name) REFERENCES zestra.zones (owner, zone_name) ON DELETE CASCADE
);
CREATE INDEX records_changes ON zestra.records (owner, zone_name, changed_counter);

-- The bytes of a record's asset field; writing one counts as a change of its record.
CREATE TABLE zestra.assets (
    owner name NOT NULL DEFAULT current_user,
    record_name uuid NOT NULL,
    field text NOT NULL,
    data bytea NOT NULL,
    PRIMARY KEY (owner, record_name, field),
    FOREIGN KEY (owner, record_name) REFERENCES zestra.records (owner, record_name)
        ON DELETE CASCADE
);

-- What was deleted after a counter value. Record names are never reused.
CREATE TABLE zestra.tombstones (
    owner name NOT NULL,
    zone_name text NOT NULL,
    record_name uuid NOT NULL,
    record_type text NOT NULL,
    changed_counter bigint NOT NULL,
    PRIMARY KEY (owner, record_name),
    FOREIGN KEY (owner, zone_name) REFERENCES zestra.zones (owner, zone_name) ON DELETE CASCADE
);
CREATE INDEX tombstones_changes ON zestra.tombstones (owner, zone_name, changed_counter);

-- Takes the next counter value of `writer` (locking its account row until the transaction
-- ends) and adds `delta_bytes` to its usage. Raises ZQ001 when a growth passes the quota.
-- NULL while an administrator deletes the account row and, through it, the user's data.
CREATE FUNCTION zestra.account_change(writer name, delta_bytes bigint) RETURNS bigint
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
       SET change_counter = change_counter + 1, usage_bytes = usage_bytes + delta_bytes
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

CREATE FUNCTION zestra.notify_owner(writer name) RETURNS void
LANGUAGE sql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
    -- Delivered only if the transaction commits; the payload says nothing.
    SELECT pg_catalog.pg_notify(channel, '') FROM zestra.accounts WHERE owner = writer
$$;

CREATE FUNCTION zestra.zones_before() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    NEW.created_counter := zestra.account_change(NEW.owner, 0);
    NEW.changed_counter := NEW.created_counter;
    RETURN NEW;
END
$$;

CREATE FUNCTION zestra.zones_after() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    PERFORM zestra.notify_owner(NEW.owner);
    RETURN NULL;
END
$$;

CREATE FUNCTION zestra.records_before() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
DECLARE
    previous_size bigint := 0;
BEGIN
    IF TG_OP = 'DELETE' THEN
        PERFORM zestra.account_change(OLD.owner, -OLD.size_bytes);
        RETURN OLD;
    END IF;
    IF TG_OP = 'INSERT' THEN
        NEW.record_name := gen_random_uuid();
    ELSE
        IF NEW.owner <> OLD.owner OR NEW.zone_name <> OLD.zone_name
           OR NEW.record_name <> OLD.record_name OR NEW.record_type <> OLD.record_type THEN
            RAISE EXCEPTION 'zestra: a record keeps its owner, zone, name and type'
                USING ERRCODE = '42501';
        END IF;
        IF NEW.change_tag <> OLD.change_tag THEN
            RAISE EXCEPTION 'zestra: record % changed on the server since it was read',
                OLD.record_name USING ERRCODE = 'ZT001';
        END IF;
        previous_size := OLD.size_bytes;
    END IF;
    NEW.size_bytes := octet_length(NEW.fields::text) + octet_length(NEW.record_type) + 64;
    NEW.change_tag := gen_random_uuid();
    NEW.changed_counter := zestra.account_change(NEW.owner, NEW.size_bytes - previous_size);
    RETURN NEW;
END
$$;

CREATE FUNCTION zestra.records_after() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
DECLARE
    counter bigint;
BEGIN
    IF TG_OP = 'DELETE' THEN
        -- Taken by records_before for this deletion; this transaction holds the row lock.
        SELECT change_counter INTO counter FROM zestra.accounts WHERE owner = OLD.owner;
        IF counter IS NULL THEN
            RETURN NULL;
        END IF;
        INSERT INTO zestra.tombstones (owner, zone_name, record_name, record_type, changed_counter)
        VALUES (OLD.owner, OLD.zone_name, OLD.record_name, OLD.record_type, counter)
        ON CONFLICT (owner, record_name) DO UPDATE SET changed_counter = EXCLUDED.changed_counter;
        UPDATE zestra.zones SET changed_counter = greatest(changed_counter, counter)
         WHERE owner = OLD.owner AND zone_name = OLD.zone_name;
        PERFORM zestra.notify_owner(OLD.owner);
    ELSE
        UPDATE zestra.zones SET changed_counter = greatest(changed_counter, NEW.changed_counter)
         WHERE owner = NEW.owner AND zone_name = NEW.zone_name;
        PERFORM zestra.notify_owner(NEW.owner);
    END IF;
    RETURN NULL;
END
$$;

CREATE FUNCTION zestra.assets_before() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    IF TG_OP = 'DELETE' THEN
        PERFORM zestra.account_change(OLD.owner, -octet_length(OLD.data));
        RETURN OLD;
    END IF;
    IF TG_OP = 'UPDATE' AND (NEW.owner <> OLD.owner OR NEW.record_name <> OLD.record_name
                             OR NEW.field <> OLD.field) THEN
        RAISE EXCEPTION 'zestra: an asset keeps its owner, record and field'
            USING ERRCODE = '42501';
    END IF;
    PERFORM zestra.account_change(NEW.owner, octet_length(NEW.data)
        - CASE WHEN TG_OP = 'UPDATE' THEN octet_length(OLD.data) ELSE 0 END);
    RETURN NEW;
END
$$;

CREATE FUNCTION zestra.assets_after() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    -- The record gets a new counter value and change tag (records_before).
    UPDATE zestra.records SET changed_counter = changed_counter
     WHERE owner = coalesce(NEW.owner, OLD.owner)
       AND record_name = coalesce(NEW.record_name, OLD.record_name);
    RETURN NULL;
END
$$;

CREATE TRIGGER zones_before BEFORE INSERT ON zestra.zones
    FOR EACH ROW EXECUTE FUNCTION zestra.zones_before();
CREATE TRIGGER zones_after AFTER INSERT ON zestra.zones
    FOR EACH ROW EXECUTE FUNCTION zestra.zones_after();
CREATE TRIGGER records_before BEFORE INSERT OR UPDATE OR DELETE ON zestra.records
    FOR EACH ROW EXECUTE FUNCTION zestra.records_before();
CREATE TRIGGER records_after AFTER INSERT OR UPDATE OR DELETE ON zestra.records
    FOR EACH ROW EXECUTE FUNCTION zestra.records_after();
CREATE TRIGGER assets_before BEFORE INSERT OR UPDATE OR DELETE ON zestra.assets
    FOR EACH ROW EXECUTE FUNCTION zestra.assets_before();
CREATE TRIGGER assets_after AFTER INSERT OR UPDATE OR DELETE ON zestra.assets
    FOR EACH ROW EXECUTE FUNCTION zestra.assets_after();

-- Nobody but the administrator calls these directly (trigger functions need no grant).
REVOKE ALL ON FUNCTION zestra.account_change(name, bigint) FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.notify_owner(name) FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.zones_before() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.zones_after() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_before() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.records_after() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.assets_before() FROM PUBLIC;
REVOKE ALL ON FUNCTION zestra.assets_after() FROM PUBLIC;

ALTER TABLE zestra.accounts ENABLE ROW LEVEL SECURITY;
ALTER TABLE zestra.zones ENABLE ROW LEVEL SECURITY;
ALTER TABLE zestra.records ENABLE ROW LEVEL SECURITY;
ALTER TABLE zestra.assets ENABLE ROW LEVEL SECURITY;
ALTER TABLE zestra.tombstones ENABLE ROW LEVEL SECURITY;
CREATE POLICY own_rows ON zestra.accounts USING (owner = current_user);
CREATE POLICY own_rows ON zestra.zones
    USING (owner = current_user) WITH CHECK (owner = current_user);
CREATE POLICY own_rows ON zestra.records
    USING (owner = current_user) WITH CHECK (owner = current_user);
CREATE POLICY own_rows ON zestra.assets
    USING (owner = current_user) WITH CHECK (owner = current_user);
CREATE POLICY own_rows ON zestra.tombstones USING (owner = current_user);

-- Every user is a member of zestra_users. The owner columns are never granted: they
-- default to current_user.
GRANT USAGE ON SCHEMA zestra TO zestra_users;
GRANT SELECT ON zestra.schema_version, zestra.accounts, zestra.zones, zestra.tombstones
    TO zestra_users;
GRANT INSERT (zone_name) ON zestra.zones TO zestra_users;
GRANT SELECT, DELETE ON zestra.records TO zestra_users;
GRANT INSERT (zone_name, record_type, fields), UPDATE (fields, change_tag)
    ON zestra.records TO zestra_users;
GRANT SELECT, DELETE ON zestra.assets TO zestra_users;
GRANT INSERT (record_name, field, data), UPDATE (data) ON zestra.assets TO zestra_users;
GRANT EXECUTE ON FUNCTION zestra.valid_fields(jsonb) TO zestra_users;
