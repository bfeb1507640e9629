// The T-SQL front end against SQLite written by hand, over statements the sales plug-ins send, on
// a populated database:
//   First/<name>     lexing, parsing and translating a statement never seen before;
//   Cached/<name>    Session::Execute of a statement whose shape is cached, literals varying;
//   Hand/<name>      the same query written for SQLite, prepared once, bound and stepped, its
//                    values read into Variants;
//   InList/<n>       a query with an IN list of n values, with the complexity fitted over n;
//   Server/<name>    Cached/<name> on a PostgreSQL server holding the same rows, when
//                    ZOV_BENCH_POSTGRESQL gives a server's connection string (the table then
//                    shows the server/file ratio too).
// After the runs a table gives each statement's times and the cached/hand ratio, with medians.
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "data/database.h"
#include "data/sqlite/catalog_store.h"
#include "data/sqlite/connection.h"
#include "data/sqlite/dialect.h"
#include "data/tsql/lexer.h"
#include "data/tsql/parser.h"
#include "data/tsql/translator.h"
#include "zov/vb/datetime.h"

namespace {

namespace fs = std::filesystem;
using namespace zov::data;

constexpr int kItems = 2000;
constexpr int kCustomers = 500;

// One representative statement: its T-SQL with a {} for the varying key, and a hand-written
// SQLite query taking the same key as ?1.
struct Case {
  const char* name;
  const char* tsql;
  const char* sqlite;
  int keys;  // the key cycles through 1..keys
};

const Case kCases[] = {
    {"PeriodQuery",
     "SELECT CONVERT(DATETIME,a.FStartDate) AS FStartDate,CONVERT(DATETIME,a.FEndDate) AS FEndDate "
     " FROM t_PeriodDate a, "
     "(select CONVERT(INT,FValue) as FYear FROM t_SystemProfile WHERE FCategory='IC' AND "
     "FKey='StartYear') AS b, "
     "(select CONVERT(INT,FValue)as FPeriod FROM t_SystemProfile WHERE FCategory='IC' AND "
     "FKey='StartPeriod') as c, "
     "(select CONVERT(INT,FValue) as FClosed FROM t_SystemProfile WHERE FCategory='GL' AND "
     "FKey='Closed') AS d, "
     "(select CONVERT(INT,FValue)as FInitClosed FROM t_SystemProfile WHERE FCategory='GL' AND "
     "FKey='InitClosed') as e "
     "WHERE a.FYear = b.FYear and a.FPeriod = c.FPeriod and d.FClosed = 1 and e.FInitClosed = {} ",
     "SELECT a.FStartDate, a.FEndDate FROM t_PeriodDate a, "
     "(SELECT CAST(FValue AS INTEGER) AS FYear FROM t_SystemProfile WHERE FCategory='IC' AND "
     "FKey='StartYear') b, "
     "(SELECT CAST(FValue AS INTEGER) AS FPeriod FROM t_SystemProfile WHERE FCategory='IC' AND "
     "FKey='StartPeriod') c, "
     "(SELECT CAST(FValue AS INTEGER) AS FClosed FROM t_SystemProfile WHERE FCategory='GL' AND "
     "FKey='Closed') d, "
     "(SELECT CAST(FValue AS INTEGER) AS FInitClosed FROM t_SystemProfile WHERE FCategory='GL' AND "
     "FKey='InitClosed') e "
     "WHERE a.FYear = b.FYear AND a.FPeriod = c.FPeriod AND d.FClosed = 1 AND e.FInitClosed = ?1 - "
     "1",
     1},
    {"CurrentPeriodStart",
     " SELECT FStartDate FROM t_PeriodDate WHERE  FYear =(SELECT CONVERT(INT, FValue) FROM "
     "t_SystemProfile WHERE FCategory = "
     "'IC' AND FKey = 'CurrentYear' ) AND  FPeriod =(SELECT CONVERT(INT, FValue) FROM "
     "t_SystemProfile WHERE FCategory = 'IC' "
     "AND FKey = 'CurrentPeriod') AND FYear > {} ",
     "SELECT FStartDate FROM t_PeriodDate WHERE FYear = (SELECT CAST(FValue AS INTEGER) FROM "
     "t_SystemProfile WHERE "
     "FCategory = 'IC' AND FKey = 'CurrentYear') AND FPeriod = (SELECT CAST(FValue AS INTEGER) "
     "FROM t_SystemProfile "
     "WHERE FCategory = 'IC' AND FKey = 'CurrentPeriod') AND FYear > ?1",
     1},
    {"BasePrice",
     "Select  p.FXSPrice,p.FXSLatestPrice,t.FProfitRate From t_ICItem t right Join t_ItemPrice p "
     "ON p.FItemID=t.FItemID "
     "Where t.FItemID={} and p.FUnitID=1",
     "SELECT p.FXSPrice, p.FXSLatestPrice, t.FProfitRate FROM t_ICItem t JOIN t_ItemPrice p ON "
     "p.FItemID = t.FItemID "
     "WHERE t.FItemID = ?1 AND p.FUnitID = 1",
     kItems},
    {"LastPrice",
     "Select FPrice,FDiscountRate From t_LatestPrice Where FItemID={} And FCustID=7 and FUnitID=1",
     "SELECT FPrice, FDiscountRate FROM t_LatestPrice WHERE FItemID = ?1 AND FCustID = 7 AND "
     "FUnitID = 1",
     kItems},
    {"CustomerDiscount",
     "Select FAgioRatio From t_ClientType Where FItemID = (Select FTypeID From t_Organization "
     "Where FItemID={})",
     "SELECT FAgioRatio FROM t_ClientType WHERE FItemID = (SELECT FTypeID FROM t_Organization "
     "WHERE FItemID = ?1)",
     kCustomers},
    {"StockSum",
     " Select b.FNumber,b.FName as ItemName,isNull(sum(FQty),0) as SumQty\r\n from t_cc_inventory "
     "a left join \r\n "
     "t_icitem b on a.fitemid=b.fitemid left join t_auxitem c on a.FAuxPropID=c.fitemid left join "
     "\r\n t_stock d on "
     "a.FStockID=d.fitemid \r\n Where a.FItemID={}\r\n Group by b.FNumber,b.FName",
     "SELECT b.FNumber, b.FName, ifnull(sum(a.FQty), 0) FROM t_cc_inventory a LEFT JOIN t_ICItem b "
     "ON a.FItemID = "
     "b.FItemID LEFT JOIN t_AuxItem c ON a.FAuxPropID = c.FItemID LEFT JOIN t_Stock d ON "
     "a.FStockID = d.FItemID WHERE "
     "a.FItemID = ?1 GROUP BY b.FNumber, b.FName",
     kItems},
    {"BookedQty",
     "Select Sum((t1.FShowQty-t1.FSendQty)*t1.FCoefficient)  as BookQty From t_XS_OrderEntry t1 "
     "Inner Join t_XS_Order t2 "
     "On t1.FID=t2.FID Where IsNull(t2.FStatus,0)=1 And t1.FItemID={}",
     "SELECT sum((t1.FShowQty - t1.FSendQty) * t1.FCoefficient) FROM t_XS_OrderEntry t1 JOIN "
     "t_XS_Order t2 ON t1.FID = "
     "t2.FID WHERE ifnull(t2.FStatus, 0) = 1 AND t1.FItemID = ?1",
     kItems},
    {"SerialList",
     "SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ISNULL(T2.FCount, 0) > 0 THEN 1 ELSE 0 END "
     "AS FBeingUsed\r\n"
     " FROM t_SerialNumList T1 \r\n LEFT JOIN (\r\nSELECT a.FItemID, a.FSerialNo, COUNT(*) AS "
     "FCount\r\nFROM "
     "t_SerialNumList a\r\nINNER JOIN (\r\nSELECT MAX(FID) AS FID, FItemID, FSerialNo\r\nFROM "
     "t_SerialNumList\r\nWHERE "
     "FBillID = {}\r\nGROUP BY FItemID, FSerialNo\r\n) b ON a.FItemID = b.FItemID AND a.FSerialNo "
     "= b.FSerialNo\r\n"
     "GROUP BY a.FItemID, a.FSerialNo\r\n) T2 ON T1.FItemID = T2.FItemID AND T1.FSerialNo = "
     "T2.FSerialNo\r\nWHERE "
     "T1.FBillID = {}",
     "SELECT DISTINCT T1.FSerialNo, T1.FNote, CASE WHEN ifnull(T2.FCount, 0) > 0 THEN 1 ELSE 0 END "
     "FROM t_SerialNumList T1 "
     "LEFT JOIN (SELECT a.FItemID, a.FSerialNo, count(*) AS FCount FROM t_SerialNumList a JOIN "
     "(SELECT max(FID) AS FID, "
     "FItemID, FSerialNo FROM t_SerialNumList WHERE FBillID = ?1 GROUP BY FItemID, FSerialNo) b ON "
     "a.FItemID = b.FItemID "
     "AND a.FSerialNo = b.FSerialNo GROUP BY a.FItemID, a.FSerialNo) T2 ON T1.FItemID = T2.FItemID "
     "AND T1.FSerialNo = "
     "T2.FSerialNo WHERE T1.FBillID = ?1",
     1000},
    {"TaxRate",
     "  select case isnull(t1.FTaxRate,0) when 0 then isnull( Convert(decimal(18,0),t2.FValue),0) "
     "else isnull( "
     "Convert(decimal(18,0),t1.FTaxRate * 100), 0) end As FTaxRate \r\n  From  t_ICItem t1   Left "
     "Join (select FValue "
     "from t_systemprofile where fcategory='General' And FKey='TaxRate') t2 on 1=1   where "
     "t1.FItemID = {}",
     "SELECT CASE ifnull(t1.FTaxRate, 0) WHEN 0 THEN ifnull(round(CAST(t2.FValue AS REAL)), 0) "
     "ELSE "
     "ifnull(round(t1.FTaxRate * 100), 0) END FROM t_ICItem t1 LEFT JOIN (SELECT FValue FROM "
     "t_SystemProfile WHERE "
     "FCategory = 'General' AND FKey = 'TaxRate') t2 ON 1 = 1 WHERE t1.FItemID = ?1",
     kItems},
    {"ItemByCustomerCode",
     "select a.*,b.FNumber from t_ItemPriceProfile a left join t_icitem b on a.FItemID=b.FItemID  "
     "where  FCustID= {} Order "
     "by b.FNumber",
     "SELECT a.*, b.FNumber FROM t_ItemPriceProfile a LEFT JOIN t_ICItem b ON a.FItemID = "
     "b.FItemID WHERE a.FCustID = ?1 "
     "ORDER BY b.FNumber",
     50},
    {"SpecialPriceBatch",
     "  Set NoCount On \r\nIf Object_Id('Tempdb.dbo.#tmp') Is Not Null begin drop table #tmp "
     "end\r\nCREATE TABLE #tmp "
     "(FID int NOT NULL, FXSPrice decimal(23,10) NOT NULL )\r\ninsert into #tmp Select "
     "l.FID,p.FXSPrice\r\nfrom "
     "t_LS_ItemPrice p \r\nleft join t_LS_CX l on l.FBillNo=p.FXSBillNo\r\nleft join "
     "T_LS_CX_Customer c on "
     "c.FBillNo=p.FXSBillNo\r\nWhere p.FItemID={} and p.FBranchShop=0 and p.FUnitID=1\r\nand "
     "(p.FXSBeginDate<='2026-12-05' and p.FXSEndDate>='2026-12-05') and (p.FXSBeginTime<='10:30' "
     "and "
     "p.FXSEndTime>='10:30')\r\nand (c.FItemID is null or c.FItemID =7)\r\nselect top 1 FXSPrice "
     "from #tmp order by FID desc",
     nullptr, kItems},
};

// The tables of the plug-ins' statements, in T-SQL.
constexpr const char* kSchema = R"(
CREATE TABLE t_SystemProfile (FCategory varchar(30) NOT NULL, FKey varchar(50) NOT NULL, FValue varchar(255) NULL, CONSTRAINT PK_t_SystemProfile PRIMARY KEY (FCategory, FKey))
GO
CREATE TABLE t_PeriodDate (FYear int NOT NULL, FPeriod int NOT NULL, FStartDate datetime NOT NULL, FEndDate datetime NOT NULL, CONSTRAINT PK_t_PeriodDate PRIMARY KEY (FYear, FPeriod))
GO
CREATE TABLE t_ICItem (FItemID int NOT NULL PRIMARY KEY, FNumber nvarchar(80) NOT NULL, FName nvarchar(255) NOT NULL, FTaxRate decimal(28,10) NOT NULL DEFAULT 0, FProfitRate decimal(28,10) NOT NULL DEFAULT 0)
GO
CREATE TABLE t_Stock (FItemID int NOT NULL PRIMARY KEY, FNumber nvarchar(80) NOT NULL, FName nvarchar(255) NOT NULL)
GO
CREATE TABLE t_AuxItem (FItemID int NOT NULL PRIMARY KEY, FNumber nvarchar(80) NOT NULL, FName nvarchar(255) NOT NULL)
GO
CREATE TABLE t_cc_inventory (FID int NOT NULL PRIMARY KEY, FItemID int NOT NULL, FStockID int NOT NULL, FAuxPropID int NOT NULL DEFAULT 0, FBatchNo varchar(50) NOT NULL DEFAULT '', FQty decimal(28,10) NOT NULL, FSecQty decimal(28,10) NOT NULL DEFAULT 0)
GO
CREATE INDEX IX_inv_item ON t_cc_inventory (FItemID)
GO
CREATE TABLE t_ItemPrice (FItemID int NOT NULL, FUnitID int NOT NULL, FXSPrice decimal(28,10) NOT NULL, FXSLatestPrice decimal(28,10) NOT NULL, CONSTRAINT PK_t_ItemPrice PRIMARY KEY (FItemID, FUnitID))
GO
CREATE TABLE t_LatestPrice (FItemID int NOT NULL, FCustID int NOT NULL, FUnitID int NOT NULL, FPrice decimal(28,10) NOT NULL, FDiscountRate decimal(28,10) NOT NULL, CONSTRAINT PK_t_LatestPrice PRIMARY KEY (FItemID, FCustID, FUnitID))
GO
CREATE TABLE t_ClientType (FItemID int NOT NULL PRIMARY KEY, FNumber varchar(30) NOT NULL, FAgioRatio decimal(28,10) NOT NULL)
GO
CREATE TABLE t_Organization (FItemID int NOT NULL PRIMARY KEY, FTypeID int NOT NULL)
GO
CREATE TABLE t_XS_Order (FID int NOT NULL PRIMARY KEY, FStatus int NULL)
GO
CREATE TABLE t_XS_OrderEntry (FID int NOT NULL, FEntryID int NOT NULL, FItemID int NOT NULL, FShowQty decimal(28,10) NOT NULL, FSendQty decimal(28,10) NOT NULL, FCoefficient decimal(28,10) NOT NULL, CONSTRAINT PK_t_XS_OrderEntry PRIMARY KEY (FID, FEntryID))
GO
CREATE INDEX IX_order_item ON t_XS_OrderEntry (FItemID)
GO
CREATE TABLE t_SerialNumList (FID int NOT NULL PRIMARY KEY, FBillID int NOT NULL, FItemID int NOT NULL, FSerialNo varchar(50) NOT NULL, FNote nvarchar(100) NOT NULL DEFAULT '')
GO
CREATE INDEX IX_serial_bill ON t_SerialNumList (FBillID)
GO
CREATE INDEX IX_serial_item ON t_SerialNumList (FItemID, FSerialNo)
GO
CREATE TABLE t_ItemPriceProfile (FItemID int NOT NULL, FCustID int NOT NULL, FUnitID1 int NOT NULL, FXSPrice1 decimal(28,10) NOT NULL, FClientGood1 varchar(50) NOT NULL, CONSTRAINT PK_t_ItemPriceProfile PRIMARY KEY (FCustID, FItemID))
GO
CREATE TABLE t_LS_ItemPrice (FXSBillNo varchar(30) NOT NULL, FItemID int NOT NULL, FUnitID int NOT NULL, FBranchShop int NOT NULL DEFAULT 0, FXSPrice decimal(28,10) NOT NULL, FXSBeginDate datetime NOT NULL, FXSEndDate datetime NOT NULL, FXSBeginTime varchar(5) NOT NULL, FXSEndTime varchar(5) NOT NULL)
GO
CREATE INDEX IX_ls_item ON t_LS_ItemPrice (FItemID, FUnitID)
GO
CREATE TABLE T_LS_CX (FID int NOT NULL PRIMARY KEY, FBillNo varchar(30) NOT NULL)
GO
CREATE UNIQUE INDEX UX_ls_cx ON T_LS_CX (FBillNo)
GO
CREATE TABLE T_LS_CX_Customer (FBillID int NOT NULL, FBillNo varchar(30) NOT NULL, FItemID int NOT NULL)
GO
CREATE INDEX IX_ls_cust ON T_LS_CX_Customer (FBillNo)
GO
INSERT INTO t_SystemProfile VALUES ('IC','StartYear','2026'), ('IC','StartPeriod','11'), ('GL','Closed','1'), ('GL','InitClosed','0'), ('IC','CurrentYear','2026'), ('IC','CurrentPeriod','12'), ('General','TaxRate','13')
GO
)";

fs::path g_dir;
std::shared_ptr<Database> g_db;
std::shared_ptr<Database> g_server;  // the same rows on PostgreSQL, when a server is given
std::string g_serverLocation;

std::string Expand(const char* text, int key) {
  std::string out(text);
  const std::string k = std::to_string(key);
  for (std::size_t p; (p = out.find("{}")) != std::string::npos;) out.replace(p, 2, k);
  return out;
}

void Populate() {
  g_dir = fs::temp_directory_path() / fmt::format("zov-tsql-bench-{}", ::getpid());
  fs::remove_all(g_dir);
  fs::create_directories(g_dir);
  g_db = Database::Open((g_dir / "bench.db").string());
  auto s = g_db->NewSession();
  s->ExecuteScript(kSchema);
  // Bulk rows go straight to SQLite in the canonical forms the front end stores.
  sqlite::Connection c((g_dir / "bench.db").string());
  c.Exec("BEGIN");
  c.Exec(fmt::format(R"(
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items})
INSERT INTO t_ICItem SELECT i, printf('01.%04d', i), 'Item ' || i, CASE WHEN i % 3 = 0 THEN 0 ELSE 0.13 END, 0.25 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20)
INSERT INTO t_Stock SELECT i, printf('S%02d', i), 'Stock ' || i FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 50)
INSERT INTO t_AuxItem SELECT i, printf('A%02d', i), 'Aux ' || i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items} * 5)
INSERT INTO t_cc_inventory SELECT i, (i - 1) / 5 + 1, i % 20 + 1, i % 7, 'B' || (i % 3), (i % 97) / 4.0, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items})
INSERT INTO t_ItemPrice SELECT i, u, 10.5 + i % 13, 11 + i % 7 FROM n, (SELECT 1 AS u UNION ALL SELECT 2);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items})
INSERT INTO t_LatestPrice SELECT i, c, 1, 9.75, 95 FROM n, (SELECT 7 AS c UNION ALL SELECT 8 UNION ALL SELECT 9);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5)
INSERT INTO t_ClientType SELECT i, printf('T%d', i), 100 - i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {customers})
INSERT INTO t_Organization SELECT i, i % 5 + 1 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items})
INSERT INTO t_XS_Order SELECT i, i % 3 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {items} * 5)
INSERT INTO t_XS_OrderEntry SELECT (i - 1) / 5 + 1, i, (i * 7) % {items} + 1, 10 + i % 5, i % 4, 1 + i % 2 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)
INSERT INTO t_SerialNumList SELECT i, (i - 1) / 5 + 1, i % 50 + 1, 'SN' || (i % 1500), '' FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {customers})
INSERT INTO t_ItemPriceProfile SELECT i, i % 50 + 1 + k * 0, 1, 9.9, 'CG' || i FROM n, (SELECT 0 AS k);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)
INSERT INTO T_LS_CX SELECT i, 'CX' || i FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)
INSERT INTO t_LS_ItemPrice SELECT 'CX' || i, (i * 13) % {items} + 1, 1, 0, 8 + i % 5, '2026-12-01 00:00:00.000', '2026-12-31 00:00:00.000', '08:00', '20:00' FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)
INSERT INTO T_LS_CX_Customer SELECT i * 2, 'CX' || (i * 2), 7 + i % 3 FROM n;
INSERT INTO t_PeriodDate VALUES (2026, 11, '2026-11-01 00:00:00.000', '2026-11-30 00:00:00.000'), (2026, 12, '2026-12-01 00:00:00.000', '2026-12-31 00:00:00.000');
)",
                     fmt::arg("items", kItems), fmt::arg("customers", kCustomers)));
  c.Exec("COMMIT");
  c.Exec("ANALYZE");
}

// A value as a T-SQL literal.
std::string Literal(const zov::vb::Variant& v) {
  using zov::vb::VarType;
  switch (v.Type()) {
    case VarType::Null:
    case VarType::Empty:
      return "NULL";
    case VarType::Long:
      return std::to_string(v.AsLong());
    case VarType::Boolean:
      return v.AsBool() ? "1" : "0";
    case VarType::Double:
      return fmt::format("{}", v.AsDouble());
    case VarType::Currency:
      return fmt::format("{}", v.AsCurrency().ToDouble());
    case VarType::Date: {
      const zov::vb::DateParts p = zov::vb::PartsOfDate(v.AsDate());
      return fmt::format("'{:04}-{:02}-{:02} {:02}:{:02}:{:02}'", p.year, p.month, p.day, p.hour,
                         p.minute, p.second);
    }
    default: {
      std::string out = "N'";
      for (char c : v.AsString()) {
        out += c;
        if (c == '\'') out += '\'';
      }
      return out + "'";
    }
  }
}

// Copies the rows the file's tables were filled with (the profile rows come with the schema) to
// the server through the front end, 500 rows a batch.
void CopyToServer() {
  auto from = g_db->NewSession();
  auto to = g_server->NewSession();
  for (const char* table :
       {"t_PeriodDate", "t_ICItem", "t_Stock", "t_AuxItem", "t_cc_inventory", "t_ItemPrice",
        "t_LatestPrice", "t_ClientType", "t_Organization", "t_XS_Order", "t_XS_OrderEntry",
        "t_SerialNumList", "t_ItemPriceProfile", "t_LS_ItemPrice", "T_LS_CX", "T_LS_CX_Customer"}) {
    const BatchResult rows = from->Execute(fmt::format("SELECT * FROM {}", table));
    const auto& all = rows.resultSets.at(0).rows;
    for (std::size_t start = 0; start < all.size(); start += 500) {
      std::string sql = fmt::format("INSERT INTO {} VALUES ", table);
      for (std::size_t r = start; r < std::min(all.size(), start + 500); ++r) {
        sql += r == start ? "(" : ", (";
        for (std::size_t i = 0; i < all[r].size(); ++i) sql += (i ? ", " : "") + Literal(all[r][i]);
        sql += ")";
      }
      to->Execute(sql, Atomic::Yes);
    }
  }
}

void First(benchmark::State& state, const Case* c) {
  sqlite::Connection connection((g_dir / "bench.db").string());
  const tsql::Catalog main = sqlite::CatalogStore::Load(connection, "main");
  const tsql::Catalog temp;
  int key = 0;
  for (auto _ : state) {
    const std::string text = Expand(c->tsql, key++ % c->keys + 1);
    const tsql::LexedBatch lexed = tsql::Lexer::Read(text);
    std::vector<std::string_view> texts(static_cast<std::size_t>(lexed.literalCount));
    std::vector<tsql::SqlValue> values(static_cast<std::size_t>(lexed.literalCount));
    for (const tsql::Token& t : lexed.tokens)
      if (t.literal >= 0) {
        texts[static_cast<std::size_t>(t.literal)] = t.text;
        values[static_cast<std::size_t>(t.literal)] = tsql::LiteralValue(t);
      }
    std::unique_ptr<tsql::Batch> batch = tsql::Parser::Parse(text, lexed);
    tsql::TranslatorInput in{&main, &temp, batch.get(), &texts, &values, false, &sqlite::Dialect()};
    tsql::Translator translator(in);
    tsql::Translation t = translator.Select(batch->statements.front()->As<tsql::SelectStatement>());
    benchmark::DoNotOptimize(t.sql.data());
  }
}

void Cached(benchmark::State& state, const Case* c) {
  auto session = g_db->NewSession();
  int key = 0;
  for (auto _ : state) {
    BatchResult r = session->Execute(Expand(c->tsql, key++ % c->keys + 1));
    benchmark::DoNotOptimize(r.resultSets.data());
  }
}

void Server(benchmark::State& state, const Case* c) {
  auto session = g_server->NewSession();
  int key = 0;
  for (auto _ : state) {
    BatchResult r = session->Execute(Expand(c->tsql, key++ % c->keys + 1));
    benchmark::DoNotOptimize(r.resultSets.data());
  }
}

zov::vb::Variant Read(sqlite3_stmt* stmt, int i) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
      return zov::vb::Variant(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
      return zov::vb::Variant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT:
      return zov::vb::Variant(
          std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                      static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))));
    default:
      return zov::vb::Variant::Null();
  }
}

void Hand(benchmark::State& state, const Case* c) {
  sqlite::Connection connection((g_dir / "bench.db").string());
  sqlite::Statement stmt = connection.Prepare(c->sqlite);
  int key = 0;
  for (auto _ : state) {
    sqlite3_reset(stmt.get());
    sqlite3_bind_int(stmt.get(), 1, key++ % c->keys + 1);
    std::vector<std::vector<zov::vb::Variant>> rows;
    const int n = sqlite3_column_count(stmt.get());
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
      std::vector<zov::vb::Variant> row;
      row.reserve(static_cast<std::size_t>(n));
      for (int i = 0; i < n; ++i) row.push_back(Read(stmt.get(), i));
      rows.push_back(std::move(row));
    }
    benchmark::DoNotOptimize(rows.data());
  }
}

// A query with an IN list of state.range(0) item IDs, whole from text to rows: the cost grows with
// the list's length and no faster.
void InList(benchmark::State& state) {
  auto session = g_db->NewSession();
  std::string sql = "SELECT COUNT(*) FROM t_ICItem WHERE FItemID IN (1";
  for (std::int64_t i = 2; i <= state.range(0); ++i) sql += fmt::format(",{}", i);
  sql += ")";
  for (auto _ : state) {
    BatchResult r = session->Execute(sql);
    benchmark::DoNotOptimize(r.resultSets.data());
  }
  state.SetComplexityN(state.range(0));
}

// The special-price batch by hand: the same four steps on a temporary table.
void HandBatch(benchmark::State& state, const Case* c) {
  sqlite::Connection connection((g_dir / "bench.db").string());
  connection.Exec("CREATE TEMP TABLE tmp (FID int NOT NULL, FXSPrice REAL NOT NULL)");
  sqlite::Statement clear = connection.Prepare("DELETE FROM temp.tmp");
  sqlite::Statement fill = connection.Prepare(
      "INSERT INTO temp.tmp SELECT l.FID, p.FXSPrice FROM t_LS_ItemPrice p LEFT JOIN T_LS_CX l ON "
      "l.FBillNo = p.FXSBillNo "
      "LEFT JOIN T_LS_CX_Customer cu ON cu.FBillNo = p.FXSBillNo WHERE p.FItemID = ?1 AND "
      "p.FBranchShop = 0 AND p.FUnitID = 1 "
      "AND p.FXSBeginDate <= '2026-12-05 00:00:00.000' AND p.FXSEndDate >= '2026-12-05 "
      "00:00:00.000' AND p.FXSBeginTime <= "
      "'10:30' AND p.FXSEndTime >= '10:30' AND (cu.FItemID IS NULL OR cu.FItemID = 7)");
  sqlite::Statement top =
      connection.Prepare("SELECT FXSPrice FROM temp.tmp ORDER BY FID DESC LIMIT 1");
  int key = 0;
  for (auto _ : state) {
    sqlite3_reset(clear.get());
    sqlite3_step(clear.get());
    sqlite3_reset(fill.get());
    sqlite3_bind_int(fill.get(), 1, key++ % c->keys + 1);
    sqlite3_step(fill.get());
    sqlite3_reset(top.get());
    std::vector<zov::vb::Variant> row;
    while (sqlite3_step(top.get()) == SQLITE_ROW) row.push_back(Read(top.get(), 0));
    benchmark::DoNotOptimize(row.data());
  }
}

// Collects the CPU time per iteration of every run for the summary (the machine is shared, so
// CPU time is the steadier measure; with repetitions the median run counts).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median") {
        times_[r.run_name.function_name] = r.GetAdjustedCPUTime();
        realTimes_[r.run_name.function_name] = r.GetAdjustedRealTime();
      }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& times() const { return times_; }
  const std::map<std::string, double>& realTimes() const { return realTimes_; }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, double> realTimes_;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Populate();
  if (const char* server = std::getenv("ZOV_BENCH_POSTGRESQL"); server && *server) {
    g_serverLocation = Database::Named(server, fmt::format("zov_tsql_bench_{}", ::getpid()));
    g_server = Database::Create(g_serverLocation);
    g_server->NewSession()->ExecuteScript(kSchema);
    CopyToServer();
    // The file's statistics were gathered after filling it; the server's are, too.
    PGconn* c = PQconnectdb(g_serverLocation.c_str());
    PQclear(PQexec(c, "ANALYZE"));
    PQfinish(c);
  }
  for (const Case& c : kCases) {
    if (c.sqlite)
      benchmark::RegisterBenchmark(fmt::format("First/{}", c.name).c_str(), First, &c)
          ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(fmt::format("Cached/{}", c.name).c_str(), Cached, &c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(fmt::format("Hand/{}", c.name).c_str(),
                                 c.sqlite ? Hand : HandBatch, &c)
        ->Unit(benchmark::kMicrosecond);
    // The server's time is mostly its own and the round trips: real time counts.
    if (g_server)
      benchmark::RegisterBenchmark(fmt::format("Server/{}", c.name).c_str(), Server, &c)
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime();
  }
  benchmark::RegisterBenchmark("InList", InList)
      ->RangeMultiplier(4)
      ->Range(1 << 10, 1 << 16)
      ->Complexity(benchmark::oN)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& t = reporter.times();
  std::vector<double> firsts, ratios;
  std::printf("\nCPU time per statement\n%-22s %12s %12s %12s %8s\n", "statement", "first us",
              "cached us", "hand us", "ratio");
  for (const Case& c : kCases) {
    auto get = [&](const char* kind) {
      auto it = t.find(fmt::format("{}/{}", kind, c.name));
      return it == t.end() ? 0.0 : it->second;
    };
    const double first = get("First"), cached = get("Cached"), hand = get("Hand");
    if (cached == 0 || hand == 0) continue;
    if (first > 0) firsts.push_back(first);
    ratios.push_back(cached / hand);
    std::printf("%-22s %12.2f %12.2f %12.2f %8.2f\n", c.name, first, cached, hand, cached / hand);
  }
  std::printf("median first parse+translate: %.2f us; median cached/hand ratio: %.2f\n",
              Median(firsts), Median(ratios));
  if (g_server) {
    const auto& real = reporter.realTimes();
    std::vector<double> serverRatios;
    std::printf(
        "\nReal time per statement, SQLite file and PostgreSQL server\n%-22s %12s %12s %8s\n",
        "statement", "file us", "server us", "ratio");
    for (const Case& c : kCases) {
      auto get = [&](const char* kind) {
        auto it = real.find(fmt::format("{}/{}", kind, c.name));
        return it == real.end() ? 0.0 : it->second;
      };
      const double file = get("Cached"), server = get("Server");
      if (file == 0 || server == 0) continue;
      serverRatios.push_back(server / file);
      std::printf("%-22s %12.2f %12.2f %8.2f\n", c.name, file, server, server / file);
    }
    std::printf("median server/file ratio: %.2f\n", Median(serverRatios));
  }
  benchmark::Shutdown();
  g_db.reset();
  fs::remove_all(g_dir);
  if (g_server) {
    g_server.reset();
    Database::Drop(g_serverLocation);
  }
  return 0;
}
