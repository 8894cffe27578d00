#include "receivers/receiver_catalogue.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "decoders/receiver_types.h"
#include "settings/language_table.h"

namespace duri {
namespace {

// Walks the whole catalogue that framing and decoding share: every row's text and line characters as
// the receivers expect them, and a decoder for each of the 21 models.
TEST(ReceiverCatalogueTest, EveryTypeHasItsTextLineCharactersAndDecoder) {
  struct Row {
    std::string_view text;
    uint8_t terminator;
    uint8_t acknowledgement;
    bool forces_line;
    bool supervised;
    std::string_view initial_command;
  };
  const Row rows[] = {
      {"", 13, 6, false, false, ""},
      {"KELD Inc. Calderium", 13, 6, false, true, ""},
      {"KELD Inc QRX / QRX+", 13, 6, false, true, ""},
      {"Sescoa 3000R", 20, 6, false, false, ""},
      {"Ademco 685", 13, 6, false, true, "S"},
      {"Radionics 6500", 20, 6, false, true, ""},
      {"Europlex", 20, 6, false, false, ""},
      {"surgard slr/mlr2", 20, 6, false, true, ""},
      {"FBI CP220", 13, 6, false, true, "S"},
      {"Osborne-Hoffman Quick Alert", 4, 6, true, false, ""},
      {"Secutron Digitel", 13, 6, false, false, ""},
      {"Silent Knight SK9000", 13, 6, false, false, ""},
      {"Silent Knight SK9500", 13, 6, false, true, ""},
      {"Adcor", 4, 6, false, false, ""},
      {"RDC", 13, 6, false, false, ""},
      {"FSK", 4, 6, false, false, ""},
      {"Cyber", 13, 'A', false, false, ""},
      {"Universal", 13, 6, false, false, "ATQ1M0S0=1S7=10\r"},
      {"Radionics 6600", 20, 6, false, true, ""},
      {"Calderium Enhaced", 13, 6, false, true, ""},
      {"Radionics 6000", 20, 6, true, false, ""},
      {"surgard mlr2000", 20, 6, false, true, ""},
  };
  static_assert(std::size(rows) == kReceiverTypeCount);
  // Values outside the list behave as type 0.
  for (int type = -1; type <= kReceiverTypeCount; ++type) {
    SCOPED_TRACE(type);
    const Row& want = rows[type < 0 || type >= kReceiverTypeCount ? 0 : type];
    const ReceiverCatalogueEntry& entry = ReceiverCatalogueEntryOf(type);
    EXPECT_EQ(entry.text, want.text);
    EXPECT_EQ(ReceiverItemText(type), want.text);
    EXPECT_EQ(TerminatorForType(type), want.terminator);
    EXPECT_EQ(AcknowledgementForType(type), want.acknowledgement);
    EXPECT_EQ(ForcesLine(type), want.forces_line);
    EXPECT_EQ(SupervisedType(type), want.supervised);
    EXPECT_EQ(InitialCommand(type), want.initial_command);
    EXPECT_EQ(DecoderFamilyOf(type) != nullptr, type > 0 && type < kReceiverTypeCount);
  }
  LanguageTable language;
  std::vector<std::string> list = ReceiverList(language);
  ASSERT_EQ(list.size(), static_cast<size_t>(kReceiverTypeCount));
  EXPECT_EQ(list[0], "(None)");
  for (int type = 1; type < kReceiverTypeCount; ++type) EXPECT_EQ(list[type], rows[type].text);
}

}  // namespace
}  // namespace duri
