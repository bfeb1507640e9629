-- =====================================================================================================
-- What the T-SQL front end needs on a PostgreSQL database: SQL Server's case-insensitive collation
-- and the tsql_* functions the translated statements call (conversions with SQL Server's rules and
-- messages, its string and date functions, LIKE, and dbo.GetComplexQty). The SQLite engine has the
-- same functions natively (src/data/sqlite/functions.cc); both give the same results.
--
-- Applied by the front end whenever a database lacks this version of it; every statement can run
-- again. A function's text arguments and variables take the caller's collation, which is mostly
-- the nondeterministic tsql_ci: whatever searches text inside a function names a deterministic
-- collation ("C", or tsql_icu where case matters).
-- =====================================================================================================

DO $$
BEGIN
  -- Case-insensitive and accent-sensitive, as SQL Server's _CI_AS collations compare.
  IF NOT EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'tsql_ci'
                 AND collnamespace = current_schema()::regnamespace) THEN
    CREATE COLLATION tsql_ci (provider = icu, locale = 'und-u-ks-level2', deterministic = false);
  END IF;
  -- Unicode case mapping and case-insensitive patterns, where a nondeterministic one cannot go.
  IF NOT EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'tsql_icu'
                 AND collnamespace = current_schema()::regnamespace) THEN
    CREATE COLLATION tsql_icu (provider = icu, locale = 'und');
  END IF;
END
$$;

-- ---- Type names ------------------------------------------------------------------------------------

-- The kind of a T-SQL type as SqlType::ToString writes it: 'decimal(18,2)' -> 'decimal'.
CREATE OR REPLACE FUNCTION tsql_kind(t text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT split_part(t COLLATE "C", '(', 1) $$;

CREATE OR REPLACE FUNCTION tsql_is_text(t text) RETURNS boolean
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql_kind(t) IN ('char', 'varchar', 'text', 'nchar', 'nvarchar', 'ntext') $$;

CREATE OR REPLACE FUNCTION tsql_is_unicode(t text) RETURNS boolean
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql_kind(t) IN ('nchar', 'nvarchar', 'ntext') $$;

CREATE OR REPLACE FUNCTION tsql_is_date(t text) RETURNS boolean
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql_kind(t) IN ('datetime', 'smalldatetime', 'date') $$;

-- 'varchar' or 'nvarchar', as SQL Server names a text type in its messages.
CREATE OR REPLACE FUNCTION tsql_text_name(t text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN tsql_is_unicode(t) THEN 'nvarchar' ELSE 'varchar' END $$;

-- The first and second number in a type's parentheses; NULL for none or max.
CREATE OR REPLACE FUNCTION tsql_type_arg(t text, n int) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT (regexp_match(t COLLATE "C", '\(([0-9]+)(?:,([0-9]+))?\)'))[n]::int $$;

-- ---- Reading text ----------------------------------------------------------------------------------

CREATE OR REPLACE FUNCTION tsql_trim_ws(s text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT btrim(s, E' \t\r\n') $$;

-- A date and time as SQL Server reads it for CONVERT(datetime, text, style) (style -1: none): ISO
-- and yyyymmdd forms, day or month first with '/', '-' or '.', an optional time with AM/PM;
-- '' is 1900-01-01. NULL when the text does not read.
CREATE OR REPLACE FUNCTION tsql_parse_datetime(t text, style int) RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  s text COLLATE "C" := tsql_trim_ws(t);
  lead int;
  sep text COLLATE "C";
  m text[] COLLATE "C";
  y int; mo int; d int;
  h int := 0; mi int := 0; sec int := 0; ms int := 0;
  rest text COLLATE "C";
BEGIN
  IF s = '' THEN RETURN timestamp '1900-01-01'; END IF;
  lead := length(substring(s from '^[0-9]*'));
  sep := substr(s, lead + 1, 1);
  IF sep = ':' THEN
    y := 1900; mo := 1; d := 1; rest := s;
  ELSIF lead = 8 THEN
    y := substr(s, 1, 4)::int; mo := substr(s, 5, 2)::int; d := substr(s, 7, 2)::int;
    rest := substr(s, 9);
  ELSIF lead = 4 AND sep IN ('-', '/', '.') AND length(s) > 4 THEN
    m := regexp_match(substr(s, 6), '^([0-9]{1,2})\' || sep || '([0-9]{1,2})(.*)$');
    IF m IS NULL THEN RETURN NULL; END IF;
    y := substr(s, 1, 4)::int; mo := m[1]::int; d := m[2]::int; rest := m[3];
  ELSIF lead IN (1, 2) AND sep IN ('-', '/', '.') THEN
    m := regexp_match(s, '^([0-9]{1,2})\' || sep || '([0-9]{1,2})\' || sep || '([0-9]{1,4})(.*)$');
    IF m IS NULL OR length(m[3]) NOT IN (2, 4) THEN RETURN NULL; END IF;
    y := m[3]::int;
    -- SQL Server's two-digit year cutoff is 2049.
    IF length(m[3]) = 2 THEN y := CASE WHEN y < 50 THEN 2000 + y ELSE 1900 + y END; END IF;
    IF style IN (3, 4, 5, 103, 104, 105) THEN
      d := m[1]::int; mo := m[2]::int;
    ELSE
      mo := m[1]::int; d := m[2]::int;
    END IF;
    rest := m[4];
  ELSE
    RETURN NULL;
  END IF;
  IF y < 1 OR y > 9999 OR mo < 1 OR mo > 12 OR d < 1 THEN RETURN NULL; END IF;
  IF d > extract(day FROM make_date(y, mo, 1) + interval '1 month' - interval '1 day') THEN
    RETURN NULL;
  END IF;
  IF sep <> ':' AND rest <> '' THEN
    IF left(rest, 1) NOT IN (' ', 'T') THEN RETURN NULL; END IF;
    rest := ltrim(rest, ' T');
  END IF;
  IF rest <> '' THEN
    m := regexp_match(rest, '^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2})(?:([.:])([0-9]{1,3}))?)? *([AaPp][Mm])?$');
    IF m IS NULL THEN RETURN NULL; END IF;
    h := m[1]::int; mi := m[2]::int; sec := coalesce(m[3]::int, 0);
    IF m[5] IS NOT NULL THEN
      ms := m[5]::int;
      IF m[4] = '.' THEN ms := ms * CASE length(m[5]) WHEN 1 THEN 100 WHEN 2 THEN 10 ELSE 1 END; END IF;
    END IF;
    IF m[6] IS NOT NULL THEN
      IF h < 1 OR h > 12 THEN RETURN NULL; END IF;
      IF h = 12 THEN h := 0; END IF;
      IF upper(m[6]) = 'PM' THEN h := h + 12; END IF;
    END IF;
    IF h > 23 OR mi > 59 OR sec > 59 THEN RETURN NULL; END IF;
  END IF;
  RETURN make_timestamp(y, mo, d, h, mi, sec + ms / 1000.0);
END
$$;

-- A datetime as the stored text of the SQLite engine and of conversions: "YYYY-MM-DD HH:MM:SS.mmm".
CREATE OR REPLACE FUNCTION tsql_canonical(d timestamp) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT to_char(d, 'YYYY-MM-DD HH24:MI:SS.MS') $$;

-- Days since SQL Server's day zero, 1900-01-01, with the time as a fraction.
CREATE OR REPLACE FUNCTION tsql_days(d timestamp) RETURNS numeric
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT round(extract(epoch FROM d - timestamp '1900-01-01') * 1000) / 86400000 $$;

CREATE OR REPLACE FUNCTION tsql_from_days(days numeric) RETURNS timestamp
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT timestamp '1900-01-01' + round(days * 86400000) * interval '1 millisecond' $$;

-- ---- Conversions -----------------------------------------------------------------------------------
-- Each takes the value as text (what the engine writes for the value of its type) with the T-SQL
-- types it converts from and to, as SqlType::ToString writes them.

CREATE OR REPLACE FUNCTION tsql_to_bigint(v text, from_type text, to_type text) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  to_kind text := tsql_kind(to_type);
  s text COLLATE "C";
  r numeric;
  lo numeric := -9223372036854775808;
  hi numeric := 9223372036854775807;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF to_kind = 'bit' THEN
    IF tsql_is_text(from_type) THEN
      s := lower(tsql_trim_ws(v));
      IF s = 'true' THEN RETURN 1; END IF;
      IF s = 'false' THEN RETURN 0; END IF;
      IF s = '' THEN RETURN 0; END IF;
      IF s !~ '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)(e[+-]?[0-9]+)?$' THEN
        RAISE EXCEPTION 'Conversion failed when converting the % value ''%'' to data type bit.',
          tsql_text_name(from_type), v;
      END IF;
      RETURN CASE WHEN s::float8 <> 0 THEN 1 ELSE 0 END;
    END IF;
    IF tsql_is_date(from_type) THEN
      RAISE EXCEPTION 'Explicit conversion from data type % to bit is not allowed.', from_type;
    END IF;
    RETURN CASE WHEN v::float8 <> 0 THEN 1 ELSE 0 END;
  END IF;
  IF to_kind = 'tinyint' THEN lo := 0; hi := 255;
  ELSIF to_kind = 'smallint' THEN lo := -32768; hi := 32767;
  ELSIF to_kind = 'int' THEN lo := -2147483648; hi := 2147483647;
  END IF;
  IF tsql_is_text(from_type) THEN
    s := tsql_trim_ws(v);
    -- '' and a lone sign convert to 0.
    IF s IN ('', '+', '-') THEN RETURN 0; END IF;
    IF s ~ '^[+-]?[0-9]+$' AND length(ltrim(s, '+-0')) <= 19 THEN r := s::numeric; END IF;
    IF r IS NULL OR r NOT BETWEEN -9223372036854775808 AND 9223372036854775807 THEN
      RAISE EXCEPTION 'Conversion failed when converting the % value ''%'' to data type %.',
        tsql_text_name(from_type), v, to_type;
    END IF;
    IF r < lo OR r > hi THEN
      RAISE EXCEPTION 'The conversion of the % value ''%'' overflowed an % column. Use a larger integer column.',
        tsql_text_name(from_type), v, to_type;
    END IF;
    RETURN r::bigint;
  END IF;
  IF tsql_kind(from_type) = 'date' THEN
    RAISE EXCEPTION 'Explicit conversion from data type date to % is not allowed.', to_type;
  END IF;
  IF tsql_is_date(from_type) THEN
    r := floor(tsql_days(v::timestamp) + 0.5);
  ELSIF tsql_kind(from_type) IN ('money', 'smallmoney') THEN
    r := round(v::numeric);
  ELSE
    r := trunc(v::numeric);
  END IF;
  IF r < lo OR r > hi THEN
    RAISE EXCEPTION 'Arithmetic overflow error converting expression to data type %.', to_type;
  END IF;
  RETURN r::bigint;
END
$$;

CREATE OR REPLACE FUNCTION tsql_to_numeric(v text, from_type text, to_type text) RETURNS numeric
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  to_kind text := tsql_kind(to_type);
  p int := CASE to_kind WHEN 'money' THEN 19 WHEN 'smallmoney' THEN 10
                        ELSE tsql_type_arg(to_type, 1) END;
  sc int := CASE WHEN to_kind IN ('money', 'smallmoney') THEN 4
                 ELSE coalesce(tsql_type_arg(to_type, 2), 0) END;
  s text COLLATE "C";
  d numeric;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF tsql_is_text(from_type) THEN
    s := tsql_trim_ws(v);
    IF s !~ '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)$' THEN
      IF to_kind = 'decimal' THEN
        RAISE EXCEPTION 'Error converting data type % to numeric.', tsql_text_name(from_type);
      END IF;
      RAISE EXCEPTION 'Cannot convert a char value to money. The char value has incorrect syntax.';
    END IF;
    d := s::numeric;
  ELSIF tsql_kind(from_type) = 'date' THEN
    RAISE EXCEPTION 'Explicit conversion from data type date to % is not allowed.', to_type;
  ELSIF tsql_is_date(from_type) THEN
    d := tsql_days(v::timestamp);
  ELSE
    -- A float's value reads as the decimal of 15 digits it stands for.
    d := CASE WHEN tsql_kind(from_type) IN ('float', 'real') THEN v::float8::numeric ELSE v::numeric END;
  END IF;
  d := round(d, sc);
  IF abs(d) >= 10::numeric ^ (p - sc) THEN
    IF to_kind = 'decimal' THEN
      RAISE EXCEPTION 'Arithmetic overflow error converting % to data type numeric.',
        CASE WHEN tsql_kind(from_type) IN ('bit', 'tinyint', 'smallint', 'int', 'bigint') THEN 'int'
             WHEN tsql_is_text(from_type) THEN tsql_text_name(from_type)
             WHEN tsql_kind(from_type) IN ('float', 'real') THEN 'float'
             ELSE 'numeric' END;
    END IF;
    RAISE EXCEPTION 'Arithmetic overflow error converting expression to data type money.';
  END IF;
  RETURN d;
END
$$;

CREATE OR REPLACE FUNCTION tsql_to_float(v text, from_type text, to_type text) RETURNS float8
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  s text COLLATE "C";
  d float8;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF tsql_is_text(from_type) THEN
    s := tsql_trim_ws(v);
    IF s = '' THEN RETURN 0; END IF;
    IF s !~* '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)(e[+-]?[0-9]+)?$' THEN
      RAISE EXCEPTION 'Error converting data type % to %.', tsql_text_name(from_type), to_type;
    END IF;
    d := s::float8;
  ELSIF tsql_kind(from_type) = 'date' THEN
    RAISE EXCEPTION 'Explicit conversion from data type date to % is not allowed.', to_type;
  ELSIF tsql_is_date(from_type) THEN
    d := tsql_days(v::timestamp)::float8;
  ELSE
    d := v::float8;
  END IF;
  IF tsql_kind(to_type) = 'real' THEN d := d::float4::float8; END IF;
  RETURN d;
END
$$;

CREATE OR REPLACE FUNCTION tsql_to_datetime(v text, from_type text, to_type text, style int)
RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  to_kind text := tsql_kind(to_type);
  from_text boolean := tsql_is_text(from_type);
  d timestamp;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF from_text THEN
    d := tsql_parse_datetime(v, style);
    IF d IS NULL THEN
      RAISE EXCEPTION 'Conversion failed when converting date and/or time from character string.';
    END IF;
  ELSIF tsql_is_date(from_type) THEN
    d := v::timestamp;
  ELSE
    IF to_kind = 'date' THEN
      RAISE EXCEPTION 'Explicit conversion from data type % to date is not allowed.', from_type;
    END IF;
    d := tsql_from_days(v::numeric);
  END IF;
  IF to_kind = 'date' THEN
    RETURN date_trunc('day', d);
  END IF;
  IF to_kind = 'smalldatetime' THEN
    -- SQL Server rounds 29.998 seconds and less down to the minute, 29.999 seconds and more up.
    d := date_trunc('minute', d + interval '30.001 seconds');
    IF extract(year FROM d) NOT BETWEEN 1900 AND 2079 THEN
      RAISE EXCEPTION 'The conversion of a varchar data type to a smalldatetime data type resulted in an out-of-range value.';
    END IF;
    RETURN d;
  END IF;
  IF extract(year FROM d) < 1753 THEN
    IF from_text THEN
      RAISE EXCEPTION 'The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.';
    END IF;
    RAISE EXCEPTION 'Arithmetic overflow error converting expression to data type datetime.';
  END IF;
  RETURN d;
END
$$;

-- A float as SQL Server writes it: at most six significant digits, an exponent of three digits.
CREATE OR REPLACE FUNCTION tsql_float_text(x float8) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  a numeric;
  e int;
  m numeric;
  t text COLLATE "C";
BEGIN
  IF x = 0 THEN RETURN '0'; END IF;
  a := abs(x)::numeric;
  e := floor(log(a));
  IF round(a, 5 - e) >= 10::numeric ^ (e + 1) THEN e := e + 1; END IF;
  IF e < -4 OR e >= 6 THEN
    m := round(a / 10::numeric ^ e, 5);
    IF m >= 10 THEN m := m / 10; e := e + 1; END IF;
    t := rtrim(rtrim(m::text, '0'), '.') || 'e' || CASE WHEN e < 0 THEN '-' ELSE '+' END
         || lpad(abs(e)::text, 3, '0');
  ELSE
    t := round(a, 5 - e)::text;
    IF position('.' IN t) > 0 THEN t := rtrim(rtrim(t, '0'), '.'); END IF;
  END IF;
  RETURN CASE WHEN x < 0 THEN '-' || t ELSE t END;
END
$$;

-- A number as CONVERT(varchar, number) writes it.
CREATE OR REPLACE FUNCTION tsql_number_text(v text, from_type text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  kind text := tsql_kind(from_type);
  t text COLLATE "C";
BEGIN
  IF kind = 'bit' THEN RETURN CASE WHEN v::numeric <> 0 THEN '1' ELSE '0' END; END IF;
  IF kind IN ('tinyint', 'smallint', 'int', 'bigint') THEN RETURN trunc(v::numeric)::text; END IF;
  IF kind IN ('float', 'real') THEN RETURN tsql_float_text(v::float8); END IF;
  t := round(v::numeric, CASE WHEN kind = 'decimal' THEN coalesce(tsql_type_arg(from_type, 2), 0)
                              ELSE 2 END)::text;
  IF t ~ '^-[0.]*$' THEN t := substr(t, 2); END IF;
  RETURN t;
END
$$;

-- A datetime as CONVERT(varchar, datetime, style) writes it; NULL for a style it does not know.
CREATE OR REPLACE FUNCTION tsql_datetime_text(d timestamp, style int, from_type text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  h int;
BEGIN
  IF tsql_kind(from_type) = 'date' AND style IN (0, 100) THEN RETURN to_char(d, 'YYYY-MM-DD'); END IF;
  CASE style
    WHEN 0, 100 THEN
      h := extract(hour FROM d)::int % 12;
      RETURN to_char(d, 'Mon ') || lpad(extract(day FROM d)::int::text, 2) || to_char(d, ' YYYY ')
             || lpad(CASE WHEN h = 0 THEN 12 ELSE h END::text, 2) || to_char(d, ':MI')
             || CASE WHEN extract(hour FROM d) < 12 THEN 'AM' ELSE 'PM' END;
    WHEN 1 THEN RETURN to_char(d, 'MM/DD/YY');
    WHEN 101 THEN RETURN to_char(d, 'MM/DD/YYYY');
    WHEN 2 THEN RETURN to_char(d, 'YY.MM.DD');
    WHEN 102 THEN RETURN to_char(d, 'YYYY.MM.DD');
    WHEN 3 THEN RETURN to_char(d, 'DD/MM/YY');
    WHEN 103 THEN RETURN to_char(d, 'DD/MM/YYYY');
    WHEN 4 THEN RETURN to_char(d, 'DD.MM.YY');
    WHEN 104 THEN RETURN to_char(d, 'DD.MM.YYYY');
    WHEN 5 THEN RETURN to_char(d, 'DD-MM-YY');
    WHEN 105 THEN RETURN to_char(d, 'DD-MM-YYYY');
    WHEN 8, 108 THEN RETURN to_char(d, 'HH24:MI:SS');
    WHEN 10 THEN RETURN to_char(d, 'MM-DD-YY');
    WHEN 110 THEN RETURN to_char(d, 'MM-DD-YYYY');
    WHEN 11 THEN RETURN to_char(d, 'YY/MM/DD');
    WHEN 111 THEN RETURN to_char(d, 'YYYY/MM/DD');
    WHEN 12 THEN RETURN to_char(d, 'YYMMDD');
    WHEN 112 THEN RETURN to_char(d, 'YYYYMMDD');
    WHEN 20, 120 THEN RETURN to_char(d, 'YYYY-MM-DD HH24:MI:SS');
    WHEN 21, 25, 121 THEN RETURN tsql_canonical(d);
    WHEN 23 THEN RETURN to_char(d, 'YYYY-MM-DD');
    WHEN 126 THEN
      RETURN to_char(d, 'YYYY-MM-DD"T"HH24:MI:SS')
             || CASE WHEN to_char(d, 'MS') = '000' THEN '' ELSE to_char(d, '.MS') END;
    ELSE RETURN NULL;
  END CASE;
END
$$;

-- Length as a column of the given text type counts it: the double-byte code page's bytes for
-- char/varchar (one per ASCII character, two per other), UTF-16 units for nchar/nvarchar.
CREATE OR REPLACE FUNCTION tsql_stored_length(s text, type text) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN octet_length(s) = length(s) THEN length(s)
              WHEN tsql_is_unicode(type)
              THEN length(s) + length(regexp_replace(s COLLATE "C", '[^\U00010000-\U0010FFFF]', '', 'g'))
              ELSE 2 * length(s) - length(regexp_replace(s COLLATE "C", '[^\x01-\x7F]', '', 'g')) END $$;

-- The longest start of `s` that fits `n` units of the text type.
CREATE OR REPLACE FUNCTION tsql_truncate_to(s text, type text, n int) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  k int := least(length(s), n);
BEGIN
  WHILE k > 0 AND tsql_stored_length(left(s, k), type) > n LOOP
    k := k - 1;
  END LOOP;
  RETURN left(s, k);
END
$$;

CREATE OR REPLACE FUNCTION tsql_to_text(v text, from_type text, to_type text, style int,
                                        assignment boolean)
RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  n int := tsql_type_arg(to_type, 1);
  t text;
  kept text;
  numeric_source boolean := false;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF tsql_is_date(from_type) THEN
    t := tsql_datetime_text(v::timestamp, CASE WHEN style < 0 THEN 0 ELSE style END, from_type);
    IF t IS NULL THEN
      RAISE EXCEPTION '% is not a valid style number when converting from % to a character string.',
        style, from_type;
    END IF;
  ELSIF tsql_is_text(from_type) THEN
    t := v;
  ELSE
    t := tsql_number_text(v, from_type);
    numeric_source := true;
  END IF;
  -- text and ntext have no length: their values are written whole.
  IF tsql_kind(to_type) IN ('text', 'ntext') THEN n := NULL; END IF;
  IF n IS NOT NULL THEN
    IF tsql_stored_length(t, to_type) > n THEN
      IF numeric_source THEN
        IF tsql_kind(from_type) IN ('bit', 'tinyint', 'smallint', 'int', 'bigint') THEN RETURN '*'; END IF;
        RAISE EXCEPTION 'Arithmetic overflow error converting % to data type %.',
          CASE WHEN tsql_kind(from_type) IN ('float', 'real') THEN 'float' ELSE 'numeric' END,
          tsql_text_name(to_type);
      END IF;
      kept := tsql_truncate_to(t, to_type, n);
      -- Trailing spaces past the length go silently; anything else written to a column is an error.
      IF assignment AND rtrim(substr(t, length(kept) + 1), ' ') <> '' THEN
        RAISE EXCEPTION 'String or binary data would be truncated.';
      END IF;
      t := kept;
    END IF;
    IF tsql_kind(to_type) IN ('char', 'nchar') THEN
      t := t || repeat(' ', n - tsql_stored_length(t, to_type));
    END IF;
  END IF;
  RETURN t;
END
$$;

-- ---- Arithmetic ------------------------------------------------------------------------------------
-- Division and modulo check their divisor when they run (never while a statement is planned, as
-- an immutable function would be), so a zero in a branch that does not run stays harmless.

CREATE OR REPLACE FUNCTION tsql_div(a numeric, b numeric) RETURNS numeric
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN a / b;
END
$$;

CREATE OR REPLACE FUNCTION tsql_div(a float8, b float8) RETURNS float8
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN a / b;
END
$$;

CREATE OR REPLACE FUNCTION tsql_idiv(a bigint, b bigint) RETURNS bigint
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN a / b;
END
$$;

CREATE OR REPLACE FUNCTION tsql_mod(a bigint, b bigint) RETURNS bigint
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN a % b;
END
$$;

CREATE OR REPLACE FUNCTION tsql_mod(a numeric, b numeric) RETURNS numeric
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN mod(a, b);
END
$$;

CREATE OR REPLACE FUNCTION tsql_mod(a float8, b float8) RETURNS float8
LANGUAGE plpgsql STABLE PARALLEL SAFE AS $$
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF b = 0 THEN RAISE EXCEPTION 'Divide by zero error encountered.'; END IF;
  RETURN (a::numeric % b::numeric)::float8;
END
$$;

-- ROUND(x, digits[, truncate]) and the rounding of exact results to their scale.
CREATE OR REPLACE FUNCTION tsql_round(x numeric, digits bigint, truncate bigint DEFAULT 0)
RETURNS numeric
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN truncate <> 0 THEN trunc(x, digits::int) ELSE round(x, digits::int) END $$;

CREATE OR REPLACE FUNCTION tsql_round(x float8, digits bigint, truncate bigint DEFAULT 0)
RETURNS float8
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN truncate <> 0 THEN trunc(x::numeric, digits::int)
              ELSE round(x::numeric, digits::int) END::float8 $$;

CREATE OR REPLACE FUNCTION tsql_round(x bigint, digits bigint, truncate bigint DEFAULT 0)
RETURNS bigint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN digits >= 0 THEN x
              WHEN truncate <> 0 THEN trunc(x::numeric, digits::int)::bigint
              ELSE round(x::numeric, digits::int)::bigint END $$;

CREATE OR REPLACE FUNCTION tsql_round(x int, digits bigint, truncate bigint DEFAULT 0)
RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql_round(x::bigint, digits, truncate)::int $$;

-- CEILING and FLOOR; a double stands for the decimal of 12 places it rounds to.
CREATE OR REPLACE FUNCTION tsql_ceiling(x numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT ceil(x) $$;
CREATE OR REPLACE FUNCTION tsql_ceiling(x float8) RETURNS float8
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT ceil(round(x::numeric, 12))::float8 $$;
CREATE OR REPLACE FUNCTION tsql_ceiling(x bigint) RETURNS bigint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION tsql_floor(x numeric) RETURNS numeric
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT floor(x) $$;
CREATE OR REPLACE FUNCTION tsql_floor(x float8) RETURNS float8
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT floor(round(x::numeric, 12))::float8 $$;
CREATE OR REPLACE FUNCTION tsql_floor(x bigint) RETURNS bigint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;

CREATE OR REPLACE FUNCTION tsql_isnumeric(s text) RETURNS int
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  c text COLLATE "C";
BEGIN
  IF s IS NULL THEN RETURN 0; END IF;
  c := translate(s, ',$ ', '');
  IF c IN ('', '+', '-', '.') THEN RETURN 0; END IF;
  RETURN CASE WHEN c ~* '^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)(e[+-]?[0-9]+)?$' THEN 1 ELSE 0 END;
END
$$;
CREATE OR REPLACE FUNCTION tsql_isnumeric(x numeric) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN x IS NULL THEN 0 ELSE 1 END $$;
CREATE OR REPLACE FUNCTION tsql_isnumeric(x float8) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN x IS NULL THEN 0 ELSE 1 END $$;
CREATE OR REPLACE FUNCTION tsql_isnumeric(x timestamp) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT 0 $$;

-- A scalar subquery: SQL Server refuses a second row where PostgreSQL would too, but in its words.
CREATE OR REPLACE FUNCTION tsql_single(n bigint, v anyelement) RETURNS anyelement
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n > 1 THEN
    RAISE EXCEPTION 'Subquery returned more than 1 value. This is not permitted when the subquery follows =, !=, <, <= , >, >= or when the subquery is used as an expression.';
  END IF;
  RETURN v;
END
$$;

-- ---- Strings ---------------------------------------------------------------------------------------

-- A LIKE pattern (% _ [set] [^set] [a-z], an ESCAPE character) as a regular expression.
CREATE OR REPLACE FUNCTION tsql_like_regex(pattern text, esc text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  p text COLLATE "C" := pattern;
  e text COLLATE "C" := esc;
  n int := length(pattern);
  i int := 1;
  c text COLLATE "C";
  k int;
  out text COLLATE "C" := '^';
  body text COLLATE "C";
BEGIN
  WHILE i <= n LOOP
    c := substr(p, i, 1);
    IF e IS NOT NULL AND c = e AND i < n THEN
      i := i + 1;
      out := out || '\' || substr(p, i, 1);
    ELSIF c = '%' THEN
      out := out || '.*';
    ELSIF c = '_' THEN
      out := out || '.';
    ELSIF c = '[' THEN
      -- The first character of a set is always literal; without a closing bracket, '[' is one.
      k := i + 1;
      IF substr(p, k, 1) = '^' THEN k := k + 1; END IF;
      IF k <= n THEN k := k + 1; END IF;
      WHILE k <= n AND substr(p, k, 1) <> ']' LOOP k := k + 1; END LOOP;
      IF k > n THEN
        out := out || '\[';
      ELSE
        body := substr(p, i + 1, k - i - 1);
        IF left(body, 1) = '^' THEN
          out := out || '[^' || replace(replace(substr(body, 2), '\', '\\'), ']', '\]') || ']';
        ELSE
          out := out || '[' || replace(replace(body, '\', '\\'), ']', '\]') || ']';
        END IF;
        i := k;
      END IF;
    ELSIF c ~ '[.^$*+?(){}|\\]' THEN
      out := out || '\' || c;
    ELSE
      out := out || c;
    END IF;
    i := i + 1;
  END LOOP;
  RETURN out || '$';
END
$$;

CREATE OR REPLACE FUNCTION tsql_like(s text, pattern text) RETURNS boolean
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  t text COLLATE tsql_icu := s;
BEGIN
  RETURN t COLLATE tsql_icu ~* tsql_like_regex(pattern, NULL);
END
$$;

CREATE OR REPLACE FUNCTION tsql_like(s text, pattern text, esc text) RETURNS boolean
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  t text COLLATE tsql_icu := s;
BEGIN
  IF esc IS NOT NULL AND length(esc) <> 1 THEN
    RAISE EXCEPTION 'The invalid escape character was specified in a LIKE predicate.';
  END IF;
  RETURN t COLLATE tsql_icu ~* tsql_like_regex(pattern, esc);
END
$$;

CREATE OR REPLACE FUNCTION tsql_patindex(pattern text, s text) RETURNS int
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  t text COLLATE tsql_icu := s;
  r text COLLATE "C";
  m text;
BEGIN
  IF pattern IS NULL OR s IS NULL THEN RETURN NULL; END IF;
  r := tsql_like_regex(pattern, NULL);
  -- Without a leading % the pattern must match from the first character.
  IF left(pattern, 1) <> '%' THEN RETURN CASE WHEN t COLLATE tsql_icu ~* r THEN 1 ELSE 0 END; END IF;
  r := '^(.*?)' || substr(r, 4);
  m := (regexp_match(t COLLATE tsql_icu, r, 'i'))[1];
  IF m IS NULL THEN RETURN 0; END IF;
  RETURN length(m) + 1;
END
$$;

CREATE OR REPLACE FUNCTION tsql_charindex(needle text, haystack text, start bigint DEFAULT 1)
RETURNS int
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  n text COLLATE "C" := lower(needle COLLATE tsql_icu);
  h text COLLATE "C" := lower(haystack COLLATE tsql_icu);
  from_char int := greatest(start, 1)::int;
  p int;
BEGIN
  IF needle IS NULL OR haystack IS NULL OR start IS NULL THEN RETURN NULL; END IF;
  IF n = '' THEN RETURN 0; END IF;
  p := strpos(substr(h, from_char), n);
  RETURN CASE WHEN p = 0 THEN 0 ELSE p + from_char - 1 END;
END
$$;

CREATE OR REPLACE FUNCTION tsql_substring(s text, start bigint, len bigint) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF len < 0 THEN
    RAISE EXCEPTION 'Invalid length parameter passed to the substring function.';
  END IF;
  -- SQL Server counts the characters from `start` even when it is below 1.
  RETURN substr(s, greatest(start, 1)::int, greatest(start + len - greatest(start, 1), 0)::int);
END
$$;

CREATE OR REPLACE FUNCTION tsql_left(s text, n bigint) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n < 0 THEN RAISE EXCEPTION 'Invalid length parameter passed to the left function.'; END IF;
  RETURN left(s, least(n, 2147483647)::int);
END
$$;

CREATE OR REPLACE FUNCTION tsql_right(s text, n bigint) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n < 0 THEN RAISE EXCEPTION 'Invalid length parameter passed to the right function.'; END IF;
  RETURN right(s, least(n, 2147483647)::int);
END
$$;

CREATE OR REPLACE FUNCTION tsql_replace(s text, from_text text, to_text text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  t text COLLATE tsql_icu := s;
  f text COLLATE "C" := from_text;
  r text COLLATE "C" := to_text;
BEGIN
  IF s IS NULL OR from_text IS NULL OR to_text IS NULL THEN RETURN NULL; END IF;
  IF f = '' THEN RETURN s; END IF;
  RETURN regexp_replace(t COLLATE tsql_icu, regexp_replace(f, '([.^$*+?()\[\]{}|\\])', '\\\1', 'g'),
                        replace(r, '\', '\\'), 'gi');
END
$$;

CREATE OR REPLACE FUNCTION tsql_upper(s text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$ BEGIN RETURN upper(s COLLATE tsql_icu); END $$;

CREATE OR REPLACE FUNCTION tsql_lower(s text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$ BEGIN RETURN lower(s COLLATE tsql_icu); END $$;

CREATE OR REPLACE FUNCTION tsql_replicate(s text, n bigint) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n < 0 THEN RETURN NULL; END IF;
  IF s = '' THEN RETURN ''; END IF;
  -- As long as the text stays within 32000 bytes, and one copy past it.
  RETURN repeat(s, least(n, (31999 / octet_length(s)) + 1)::int);
END
$$;

CREATE OR REPLACE FUNCTION tsql_reverse(s text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT reverse(s) $$;

CREATE OR REPLACE FUNCTION tsql_stuff(s text, start bigint, len bigint, insert text) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  n int := length(s);
BEGIN
  IF s IS NULL OR start IS NULL OR len IS NULL THEN RETURN NULL; END IF;
  IF start < 1 OR start > n OR len < 0 THEN RETURN NULL; END IF;
  RETURN left(s, start::int - 1) || coalesce(insert, '') || substr(s, least(n, start + len - 1)::int + 1);
END
$$;

CREATE OR REPLACE FUNCTION tsql_str(x float8, len bigint DEFAULT 10, decimals bigint DEFAULT 0)
RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  d int := least(decimals, 16);
  t text;
BEGIN
  IF x IS NULL OR len IS NULL OR decimals IS NULL THEN RETURN NULL; END IF;
  IF len <= 0 OR len > 8000 OR decimals < 0 THEN RETURN NULL; END IF;
  LOOP
    t := to_char(round(x::numeric, d), 'FM' || repeat('9', 38) || '0' || CASE WHEN d > 0 THEN '.' || repeat('0', d) ELSE '' END);
    EXIT WHEN length(t) <= len OR d = 0;
    d := d - 1;
  END LOOP;
  IF length(t) > len THEN RETURN repeat('*', len::int); END IF;
  RETURN lpad(t, len::int);
END
$$;

CREATE OR REPLACE FUNCTION tsql_str(x numeric, len bigint DEFAULT 10, decimals bigint DEFAULT 0)
RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql_str(x::float8, len, decimals) $$;

CREATE OR REPLACE FUNCTION tsql_datalength(s text, unicode int) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN unicode <> 0 THEN tsql_stored_length(s, 'nvarchar') * 2
              ELSE tsql_stored_length(s, 'varchar') END $$;

-- ---- Dates -----------------------------------------------------------------------------------------

CREATE OR REPLACE FUNCTION tsql_getdate() RETURNS timestamp
LANGUAGE sql VOLATILE AS $$ SELECT date_trunc('milliseconds', clock_timestamp()::timestamp) $$;

CREATE OR REPLACE FUNCTION tsql_getutcdate() RETURNS timestamp
LANGUAGE sql VOLATILE AS $$
  SELECT date_trunc('milliseconds', clock_timestamp() AT TIME ZONE 'UTC') $$;

CREATE OR REPLACE FUNCTION tsql_check_datetime(d timestamp) RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF extract(year FROM d) NOT BETWEEN 1753 AND 9999 THEN
    RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
  END IF;
  RETURN d;
END
$$;

-- datetime + n: n days, fractions of a day included, to the millisecond.
CREATE OR REPLACE FUNCTION tsql_adddays(d timestamp, days float8) RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF d IS NULL OR days IS NULL THEN RETURN NULL; END IF;
  IF abs(days) > 3700000 THEN
    RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
  END IF;
  RETURN tsql_check_datetime(d + round(days::numeric * 86400000) * interval '1 millisecond');
END
$$;

CREATE OR REPLACE FUNCTION tsql_dateadd(part text, n bigint, d timestamp) RETURNS timestamp
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n IS NULL OR d IS NULL THEN RETURN NULL; END IF;
  IF part IN ('YEAR', 'QUARTER', 'MONTH') THEN
    IF abs(n) > 120000 THEN
      RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
    END IF;
    RETURN tsql_check_datetime(d + n * CASE part WHEN 'YEAR' THEN 12 WHEN 'QUARTER' THEN 3 ELSE 1 END
                                      * interval '1 month');
  END IF;
  IF abs(n) > 400000000000 THEN
    RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
  END IF;
  RETURN tsql_check_datetime(d + n * CASE part WHEN 'WEEK' THEN interval '7 days'
                                               WHEN 'HOUR' THEN interval '1 hour'
                                               WHEN 'MINUTE' THEN interval '1 minute'
                                               WHEN 'SECOND' THEN interval '1 second'
                                               WHEN 'MILLISECOND' THEN interval '1 millisecond'
                                               ELSE interval '1 day' END);
END
$$;

-- Milliseconds since 1900-01-01.
CREATE OR REPLACE FUNCTION tsql_ms(d timestamp) RETURNS numeric
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT round(extract(epoch FROM d - timestamp '1900-01-01') * 1000) $$;

-- The number of part boundaries crossed from a to b.
CREATE OR REPLACE FUNCTION tsql_datediff(part text, a timestamp, b timestamp) RETURNS bigint
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  r numeric;
  da numeric := floor(tsql_ms(a) / 86400000);
  db numeric := floor(tsql_ms(b) / 86400000);
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  r := CASE part
         WHEN 'YEAR' THEN extract(year FROM b) - extract(year FROM a)
         WHEN 'QUARTER' THEN (extract(year FROM b) * 4 + floor((extract(month FROM b) - 1) / 3))
                             - (extract(year FROM a) * 4 + floor((extract(month FROM a) - 1) / 3))
         WHEN 'MONTH' THEN (extract(year FROM b) * 12 + extract(month FROM b))
                           - (extract(year FROM a) * 12 + extract(month FROM a))
         WHEN 'WEEK' THEN floor((db + 1) / 7) - floor((da + 1) / 7)
         WHEN 'HOUR' THEN floor(tsql_ms(b) / 3600000) - floor(tsql_ms(a) / 3600000)
         WHEN 'MINUTE' THEN floor(tsql_ms(b) / 60000) - floor(tsql_ms(a) / 60000)
         WHEN 'SECOND' THEN floor(tsql_ms(b) / 1000) - floor(tsql_ms(a) / 1000)
         WHEN 'MILLISECOND' THEN tsql_ms(b) - tsql_ms(a)
         ELSE db - da END;
  IF r > 2147483647 OR r < -2147483648 THEN
    RAISE EXCEPTION 'The datediff function resulted in an overflow. The number of dateparts separating two date/time instances is too large.';
  END IF;
  RETURN r;
END
$$;

CREATE OR REPLACE FUNCTION tsql_datepart(part text, d timestamp) RETURNS int
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE part
           WHEN 'YEAR' THEN extract(year FROM d)
           WHEN 'QUARTER' THEN extract(quarter FROM d)
           WHEN 'MONTH' THEN extract(month FROM d)
           WHEN 'DAYOFYEAR' THEN extract(doy FROM d)
           WHEN 'DAY' THEN extract(day FROM d)
           -- Weeks start on Sunday, and the week of January 1st is the first.
           WHEN 'WEEK' THEN floor((extract(doy FROM d) + extract(dow FROM date_trunc('year', d)) - 1) / 7) + 1
           WHEN 'WEEKDAY' THEN extract(dow FROM d) + 1
           WHEN 'HOUR' THEN extract(hour FROM d)
           WHEN 'MINUTE' THEN extract(minute FROM d)
           WHEN 'SECOND' THEN floor(extract(second FROM d))
           ELSE round(extract(milliseconds FROM d)) - floor(extract(second FROM d)) * 1000 END::int $$;

CREATE OR REPLACE FUNCTION tsql_datename(part text, d timestamp) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE part
           WHEN 'MONTH' THEN to_char(d, 'FMMonth')
           WHEN 'WEEKDAY' THEN to_char(d, 'FMDay')
           ELSE tsql_datepart(part, d)::text END $$;

CREATE OR REPLACE FUNCTION tsql_isdate(s text) RETURNS int
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  d timestamp;
BEGIN
  IF s IS NULL OR s = '' THEN RETURN 0; END IF;
  d := tsql_parse_datetime(s, -1);
  RETURN CASE WHEN d IS NOT NULL AND extract(year FROM d) >= 1753 THEN 1 ELSE 0 END;
END
$$;

-- ---- Identity --------------------------------------------------------------------------------------

-- After rows with explicit identity values: the next generated one follows the highest.
CREATE OR REPLACE FUNCTION tsql_follow_identity(tab regclass, col text) RETURNS void
LANGUAGE plpgsql VOLATILE AS $$
DECLARE
  seq text := pg_get_serial_sequence(tab::text, col);
  highest bigint;
  given bigint;
  used boolean;
BEGIN
  EXECUTE format('SELECT max(%I) FROM %s', col, tab) INTO highest;
  EXECUTE format('SELECT last_value, is_called FROM %s', seq) INTO given, used;
  IF highest IS NOT NULL AND highest >= (CASE WHEN used THEN given ELSE given - 1 END) THEN
    PERFORM setval(seq, highest);
  END IF;
END
$$;

-- ---- dbo.GetComplexQty -----------------------------------------------------------------------------
-- The quantity in the item's units from the largest to the smallest ("2箱3瓶"), the units being the
-- item's rows of vw_Unit with a coefficient above 0 by coefficient descending (then FOrder): each
-- unit but the smallest takes the whole count that fits; the smallest takes the rest, rounded to
-- 4 decimals without trailing zeros; units with nothing left are skipped; zero is "0" and the
-- smallest unit's name; a negative quantity is the rendering of its magnitude after "-"; an item
-- without units renders the bare number.
CREATE OR REPLACE FUNCTION tsql_unit_count(n numeric) RETURNS text
LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  t text COLLATE "C" := round(n, 4)::text;
BEGIN
  IF position('.' IN t) > 0 THEN t := rtrim(rtrim(t, '0'), '.'); END IF;
  IF t = '-0' THEN t := '0'; END IF;
  RETURN t;
END
$$;

CREATE OR REPLACE FUNCTION tsql_complex_qty(item bigint, qty numeric) RETURNS text
LANGUAGE plpgsql STABLE AS $$
DECLARE
  names text[];
  coefficients numeric[];
  rest numeric;
  n numeric;
  out text := '';
  i int;
BEGIN
  IF item IS NULL OR qty IS NULL THEN RETURN NULL; END IF;
  SELECT array_agg(u."FName" ORDER BY u."FCoefficient" DESC, u."FOrder"),
         array_agg(u."FCoefficient"::numeric ORDER BY u."FCoefficient" DESC, u."FOrder")
    INTO names, coefficients
    FROM "vw_Unit" u WHERE u."FSrcItemId" = item AND u."FCoefficient" > 0;
  IF names IS NULL THEN RETURN tsql_unit_count(qty); END IF;
  rest := round(abs(qty), 10);
  FOR i IN 1 .. array_length(names, 1) LOOP
    IF i = array_length(names, 1) THEN
      n := round(rest / coefficients[i], 4);
      IF n <> 0 THEN out := out || tsql_unit_count(n) || names[i]; END IF;
    ELSE
      n := floor(rest / coefficients[i] + 0.000000001);
      IF n > 0 THEN
        out := out || tsql_unit_count(n) || names[i];
        rest := round(rest - n * coefficients[i], 10);
      END IF;
    END IF;
  END LOOP;
  IF out = '' THEN RETURN '0' || names[array_length(names, 1)]; END IF;
  IF qty < 0 THEN RETURN '-' || out; END IF;
  RETURN out;
END
$$;
