#include <gtest/gtest.h>

#include <string>

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/visual/ControlProperties.h"
#include "toolkit/visual/Controls.h"

// Controls that publish what they do not have, as the next programmer might.
class TMisspeltControl : public TWinControl {
  TOOLKIT_CLASS(TMisspeltControl, TWinControl)
  using TWinControl::TWinControl;
};

TClass TMisspeltControl::StaticClass() {
  return DefineClass<TMisspeltControl>("TMisspeltControl", [](ClassBuilder<TMisspeltControl>& c) {
    PublishControlProperties(c, {"Align", "TabStopp"});
  });
}

class TTabbedGraphic : public TGraphicControl {
  TOOLKIT_CLASS(TTabbedGraphic, TGraphicControl)
  using TGraphicControl::TGraphicControl;
};

TClass TTabbedGraphic::StaticClass() {
  return DefineClass<TTabbedGraphic>("TTabbedGraphic", [](ClassBuilder<TTabbedGraphic>& c) {
    PublishControlProperties(c, {"Caption", "TabOrder"});  // only windowed controls have it
  });
}

namespace {

TEST(PublishControlPropertiesTest, ANameTheClassDoesNotHaveFailsNamingBoth) {
  struct Case {
    TClass (*publish)();
    std::string message;
  };
  const Case cases[] = {
      {&TMisspeltControl::StaticClass,
       "Class TMisspeltControl has no property TabStopp to publish"},
      {&TTabbedGraphic::StaticClass, "Class TTabbedGraphic has no property TabOrder to publish"},
  };
  for (const Case& c : cases) {
    try {
      c.publish();
      ADD_FAILURE() << "published: " << c.message;
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

}  // namespace
