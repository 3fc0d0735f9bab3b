// The sync message table: every row in every language, with the same
// printf conversions in each, the rows the sync session names, and the
// language switch.
#include "sync_fixture.h"

#include "sync_messages.h"
#include "zeltamisc.h"
#include "zeltanet.h"

namespace {

std::string conversions(const std::string& text) {
  std::string out;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '%') {
      size_t j = i + 1;
      while (j < text.size() && (text[j] == 'l' || isdigit(static_cast<unsigned char>(text[j])))) ++j;
      out += text.substr(i, j - i + 1) + " ";
      i = j;
    }
  return out;
}

using SyncMessagesTest = SyncTest;

TEST_F(SyncMessagesTest, EveryRowInEveryLanguageWithTheSameConversions) {
  for (int n = 0; n < sync::kSyncMessageCount; ++n) {
    std::string texts[3];
    for (int language = 1; language <= 3; ++language) {
      __SetErrorLang(__INIT_DOUBLE(language));
      texts[language - 1] = sync::syncMessage(n);
      EXPECT_FALSE(texts[language - 1].empty()) << n << " in language " << language;
    }
    EXPECT_EQ(conversions(texts[0]), conversions(texts[1])) << n;
    EXPECT_EQ(conversions(texts[0]), conversions(texts[2])) << n;
  }
  __SetErrorLang(__INIT_DOUBLE(1));
}

TEST_F(SyncMessagesTest, RowsTheSessionNames) {
  const struct {
    int n;
    const char *portuguese, *english;
  } rows[] = {
      {0, "VaskoSync", "VaskoSync"},
      {4, "Enviados", "Records Sent"},
      {8, "Iniciar", "Start"},
      {29, "Não abriu Tabela de CONFIGURAÇÕES", "Configurations table not opened"},
      {60, "Master Table ou Master Index inexistente (5)!.", "Master Table or Master Index does not exist (5)!."},
      {71, "%s: %u registro(s) upload.", "%s: %u records(s) upload."},
      {79, "Comunicando com o servidor", "Communicating with server        "},
      {84, "Início: %s - ", "Start: %s - "},
      {114, "Existem registros marcados para envio na tabela %s. Tabela não atualizada.",
       "There are records with dirty flag in table %s. Table not updated."},
      {117, "Reconectar", "Reconnect"},
  };
  for (const auto& r : rows) {
    __SetErrorLang(__INIT_DOUBLE(1));
    EXPECT_STREQ(__GetSyncMsg(__INIT_DOUBLE(r.n))->objData.mbuff, r.portuguese) << r.n;
    __SetErrorLang(__INIT_DOUBLE(2));
    EXPECT_STREQ(__GetSyncMsg(__INIT_DOUBLE(r.n))->objData.mbuff, r.english) << r.n;
  }
  __SetErrorLang(__INIT_DOUBLE(1));
  EXPECT_STREQ(__GetSyncMsg(__INIT_DOUBLE(118))->objData.mbuff, "");
  EXPECT_STREQ(__GetSyncMsg(__INIT_DOUBLE(-1))->objData.mbuff, "");
  EXPECT_STREQ(__GetSyncMsg(__INIT_DOUBLE(1e12))->objData.mbuff, "");
  EXPECT_EQ(errorOf([] { __GetSyncMsg(__INIT_CHARPTR("3")); }), ARGUMENT_ERROR);
}

}  // namespace
