// Structure files, key expressions, the catalog rows and CSV files.
#include <gtest/gtest.h>

#include "csv.h"
#include "table_def.h"

namespace {

using server::TableDef;

TEST(Structure, ReadsEveryStatement) {
  TableDef def;
  std::string error;
  ASSERT_TRUE(
      server::parseStructure("# the clients\n"
                             "table clients Our clients\n"
                             "upload YES\n"
                             "field code c 6   # the key\n"
                             "field balance N 12 2\n"
                             "field since D\n"
                             "field active L\n"
                             "index cli_code code\n"
                             "index cli_both alias->CODE + DTOS(since)\n",
                             def, error))
      << error;
  EXPECT_EQ(def.name, "CLIENTS");
  EXPECT_EQ(def.description, "Our clients");
  EXPECT_TRUE(def.toHost);
  ASSERT_EQ(def.fields.size(), 4u);
  EXPECT_EQ(def.fields[0].length, 6);
  EXPECT_EQ(def.fields[1].decimals, 2);
  EXPECT_EQ(def.fields[2].length, 8);
  EXPECT_EQ(def.fields[3].length, 1);
  ASSERT_EQ(def.indexes.size(), 2u);
  EXPECT_EQ(def.indexes[1].fields, (std::vector<int>{0, 2}));
  TableDef again;
  ASSERT_TRUE(server::parseStructure(def.structureText(), again, error)) << error;
  EXPECT_EQ(again.structureText(), def.structureText());
}

TEST(Structure, RefusalsNameTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"field A C 1\nindex I A\n", "no table line"},
      {"table T\nindex I A\n", "line 2: the key names A"},
      {"table T\nfield A C 1\n", "needs an index"},
      {"table TOO_LONG_A_NAME_1\n", "line 1: a table name"},
      {"table ZEL_TBL\n", "catalog table"},
      {"table T\nfield A X 1\n", "line 2: a field type"},
      {"table T\nfield A C 0\n", "line 2: a length of 1 to 250"},
      {"table T\nfield A C 251\n", "line 2: a length"},
      {"table T\nfield A N 5 5\n", "line 2: decimals"},
      {"table T\nfield A C 2 1\n", "line 2: decimals"},
      {"table T\nfield A C 1\nfield a C 1\n", "line 3: the field A twice"},
      {"table T\nfield D_E_L_E_T_ C 2\n", "line 2: a field name"},
      {"table T\nupload maybe\n", "line 2: upload takes yes or no"},
      {"table T\nfrobnicate\n", "line 2: unknown statement"},
      {"table T\nfield A C 250\nfield B C 250\nfield C C 250\nfield D C 250\nfield E C 250\nfield F C 250\n"
       "field G C 250\nfield H C 250\nfield I C 250\nfield J C 250\nfield K C 250\nfield L C 250\nfield M C 250\n"
       "field N C 250\nfield O C 250\nfield P C 250\nfield Q C 250\nfield R C 250\nfield S C 250\nfield T C 250\n"
       "field U C 250\nfield V C 250\nfield W C 250\nfield X C 250\nfield Y C 250\nfield Z C 250\nfield AA C 250\n"
       "field AB C 250\nfield AC C 250\nfield AD C 250\nfield AE C 250\nfield AF C 250\nfield AG C 250\n"
       "field AH C 250\nfield AI C 250\nfield AJ C 250\nfield AK C 250\nfield AL C 250\nfield AM C 250\n"
       "field AN C 250\nfield AO C 250\nfield AP C 250\nfield AQ C 250\nfield AR C 250\nindex I A\n",
       "more than 11,000 bytes"},
  };
  for (const auto& c : cases) {
    TableDef def;
    std::string error;
    EXPECT_FALSE(server::parseStructure(c.text, def, error)) << c.text;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST(Catalog, RowsDescribeTheTables) {
  TableDef def;
  std::string error;
  ASSERT_TRUE(
      server::parseStructure("table ITEMS Items\nupload no\nfield CODE C 4\nfield PRICE N 9 2\n"
                             "index ITEMS1 CODE\n",
                             def, error));
  def.id = 7;
  const std::vector<std::vector<wire::Row>> rows = server::catalogRows({def});
  ASSERT_EQ(rows.size(), 3u);
  ASSERT_EQ(rows[0].size(), 1u);
  EXPECT_EQ(rows[0][0][0].number, 7);
  EXPECT_EQ(rows[0][0][1].text, "ITEMS");
  EXPECT_EQ(rows[0][0][3].text, "F");
  ASSERT_EQ(rows[1].size(), 2u);
  EXPECT_EQ(rows[1][1][1].text, "002");
  EXPECT_EQ(rows[1][1][2].text, "PRICE");
  EXPECT_EQ(rows[1][1][3].text, "N");
  EXPECT_EQ(rows[1][1][4].number, 9);
  EXPECT_EQ(rows[1][1][5].number, 2);
  ASSERT_EQ(rows[2].size(), 1u);
  EXPECT_EQ(rows[2][0][2].text, "CODE");
  EXPECT_EQ(rows[2][0][3].text, "T");
  // The catalog tables have the devices' structure and indexes.
  const std::vector<TableDef>& catalog = server::catalogTables();
  ASSERT_EQ(catalog.size(), 3u);
  EXPECT_EQ(catalog[0].fields.size(), 9u);
  EXPECT_EQ(catalog[1].indexes[1].fields, (std::vector<int>{2, 0, 1}));  // FLDNAME+TABLEID+FLDPOS
  EXPECT_EQ(catalog[2].fields[2].length, 250);
}

TEST(Csv, ReadsQuotesAndLineBreaks) {
  std::vector<std::vector<std::string>> records;
  std::string error;
  ASSERT_TRUE(server::readCsv("A,B\r\n\"x, y\",\"say \"\"hi\"\"\"\n\"two\nlines\",\n\nlast,1", records, error));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[1], (std::vector<std::string>{"x, y", "say \"hi\""}));
  EXPECT_EQ(records[2], (std::vector<std::string>{"two\nlines", ""}));
  EXPECT_EQ(records[3], (std::vector<std::string>{"last", "1"}));
  EXPECT_FALSE(server::readCsv("A\n\"open", records, error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  EXPECT_EQ(server::csvLine({"plain", "a,b", "q\"", " pad"}), "plain,\"a,b\",\"q\"\"\",\" pad\"\n");
}

TEST(Csv, RowsRoundTripAndRefuseWhatDoesNotFit) {
  TableDef def;
  std::string error;
  ASSERT_TRUE(server::parseStructure("table T\nfield CODE C 3\nfield N N 8 2\nfield D D\nfield L L\nindex I CODE\n",
                                     def, error));
  std::vector<wire::Row> rows;
  ASSERT_TRUE(server::csvRows(def, "L,CODE,N,D\nT,abc,1.5,20261209\nF,\"x,y\",-2,\n", rows, error)) << error;
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0][3].logical);
  EXPECT_EQ(rows[0][1].number, 1.5);
  EXPECT_EQ(rows[1][0].text, "x,y");
  EXPECT_EQ(rows[1][2].number, 0);  // the empty date
  EXPECT_EQ(server::rowsCsv(def, rows), "CODE,N,D,L\nabc,1.50,20261209,T\n\"x,y\",-2.00,,F\n");
  const struct {
    const char* text;
    const char* error;
  } bad[] = {{"CODE,COLOUR\n", "COLOUR is not a field"},
             {"CODE,N\nabc\n", "record 2: 1 fields"},
             {"CODE,D\nabc,20261301\n", "record 2: D"},
             {"CODE,N\nabc,12x\n", "record 2: N"},
             {"", "no header"}};
  for (const auto& b : bad) {
    EXPECT_FALSE(server::csvRows(def, b.text, rows, error)) << b.text;
    EXPECT_NE(error.find(b.error), std::string::npos) << error;
  }
}

}  // namespace
