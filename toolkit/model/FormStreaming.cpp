#include "toolkit/model/FormStreaming.h"

#include "toolkit/model/FormText.h"
#include "toolkit/model/Reader.h"
#include "toolkit/model/Writer.h"

void ReadComponentText(TComponent* Root, std::string_view Text) {
  const TTextObject description = ParseFormText(Text);
  TReader reader(description);
  reader.ReadRootComponent(Root);
}

TComponent* CreateComponentFromText(std::string_view Text, TComponent* Owner) {
  const TTextObject description = ParseFormText(Text);
  TReader reader(description);
  return reader.ReadNewRootComponent(Owner);
}

std::string WriteComponentText(TComponent* Root) {
  TWriter writer;
  return FormatFormText(writer.WriteRootComponent(Root));
}

std::string FormatComponentText(std::string_view Text) {
  return FormatFormText(ParseFormText(Text));
}
