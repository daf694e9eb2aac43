// The demo host: a small order-entry form that arms context help on its window. A right-click
// on any control offers "What's This"; choosing it shows that control's tip from the sample tip
// file. Usage: order_entry [TIPFILE] [/EditTips]
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "runtime/codes.h"
#include "runtime/thread.h"
#include "runtime/window.h"
#include "vistip32.h"

namespace {

using rt::Binding;
using rt::ControlDesc;

// Order lines shown in the list: product, quantity, price.
class OrderLines : public rt::ListSource {
 public:
  size_t Rows() const override { return rows_.size(); }
  std::string Cell(size_t row, size_t column) const override {
    const auto& r = rows_.at(row - 1);
    return column == 1 ? r[0] : column == 2 ? r[1] : r[2];
  }
  void Add(std::string product, std::string quantity, std::string price) {
    rows_.push_back({std::move(product), std::move(quantity), std::move(price)});
  }
  void Remove(size_t row) {
    if (row >= 1 && row <= rows_.size()) rows_.erase(rows_.begin() + static_cast<long>(row) - 1);
  }

 private:
  std::vector<std::array<std::string, 3>> rows_;
};

struct Form {
  char customer[40];
  char product[30];
  char quantity[6];
  char notes[200];
  OrderLines lines;
  Form() {
    std::memset(customer, ' ', sizeof customer);
    std::memset(product, ' ', sizeof product);
    std::memset(quantity, ' ', sizeof quantity);
    std::memset(notes, ' ', sizeof notes);
  }
};

// Field numbers of the form, and the names and types its tips are filed under.
enum Field : int32_t {
  kCustomerPrompt = 1,
  kCustomer,
  kProductPrompt,
  kProduct,
  kQuantityPrompt,
  kQuantity,
  kLines,
  kNotesPrompt,
  kNotes,
  kAdd,
  kRemove,
  kSave,
  kClose,
  kStatus,
};

struct TipName {
  const char* control;
  const char* type;
};

const std::map<int32_t, TipName> kTipNames = {
    {kCustomerPrompt, {"Customer", "ENTRY"}},
    {kCustomer, {"Customer", "ENTRY"}},
    {kProductPrompt, {"Product", "ENTRY"}},
    {kProduct, {"Product", "ENTRY"}},
    {kQuantityPrompt, {"Quantity", "ENTRY"}},
    {kQuantity, {"Quantity", "ENTRY"}},
    {kLines, {"OrderLines", "LIST"}},
    {kNotesPrompt, {"Notes", "TEXT"}},
    {kNotes, {"Notes", "TEXT"}},
    {kAdd, {"AddLine", "BUTTON"}},
    {kRemove, {"RemoveLine", "BUTTON"}},
    {kSave, {"SaveOrder", "BUTTON"}},
    {kClose, {"CloseButton", "BUTTON"}},
};

rt::WindowDesc FormWindow(Form& f) {
  rt::WindowDesc d;
  d.caption = "Order Entry";
  d.x = 40;
  d.y = 60;
  d.w = 260;
  d.h = 190;
  d.controls = {
      {.field = kCustomerPrompt, .type = rt::kCreatePrompt, .x = 8, .y = 10, .text = "&Customer:"},
      {.field = kCustomer,
       .type = rt::kCreateEntry,
       .x = 60,
       .y = 9,
       .w = 140,
       .h = 11,
       .picture = "@s40",
       .use = Binding{f.customer, sizeof f.customer, nullptr}},
      {.field = kProductPrompt, .type = rt::kCreatePrompt, .x = 8, .y = 26, .text = "&Product:"},
      {.field = kProduct,
       .type = rt::kCreateEntry,
       .x = 60,
       .y = 25,
       .w = 100,
       .h = 11,
       .picture = "@s30",
       .use = Binding{f.product, sizeof f.product, nullptr}},
      {.field = kQuantityPrompt, .type = rt::kCreatePrompt, .x = 168, .y = 26, .text = "&Qty:"},
      {.field = kQuantity,
       .type = rt::kCreateEntry,
       .x = 190,
       .y = 25,
       .w = 30,
       .h = 11,
       .picture = "@n5",
       .use = Binding{f.quantity, sizeof f.quantity, nullptr}},
      {.field = kLines,
       .type = rt::kCreateList,
       .x = 8,
       .y = 42,
       .w = 212,
       .h = 70,
       .props = {{rt::kPropFormat, "120L|M~Product~@s30@40R|M~Qty~@n5@50R|M~Price~@s10@"}}},
      {.field = kNotesPrompt, .type = rt::kCreatePrompt, .x = 8, .y = 117, .text = "&Notes:"},
      {.field = kNotes,
       .type = rt::kCreateText,
       .x = 8,
       .y = 127,
       .w = 212,
       .h = 36,
       .use = Binding{f.notes, sizeof f.notes, nullptr}},
      {.field = kAdd,
       .type = rt::kCreateButton,
       .x = 226,
       .y = 42,
       .w = 28,
       .h = 14,
       .text = "&Add"},
      {.field = kRemove,
       .type = rt::kCreateButton,
       .x = 226,
       .y = 60,
       .w = 28,
       .h = 14,
       .text = "&Del"},
      {.field = kSave,
       .type = rt::kCreateButton,
       .x = 150,
       .y = 168,
       .w = 50,
       .h = 14,
       .text = "&Save"},
      {.field = kClose,
       .type = rt::kCreateButton,
       .x = 204,
       .y = 168,
       .w = 50,
       .h = 14,
       .text = "Cl&ose"},
      {.field = kStatus,
       .type = rt::kCreateString,
       .x = 8,
       .y = 171,
       .text = "Right-click a control for help."},
  };
  return d;
}

void RunForm(const std::string& tip_file) {
  Form f;
  f.lines.Add("Widget, blue", "4", "12.50");
  f.lines.Add("Gadget", "1", "99.00");
  rt::Window w(FormWindow(f));
  w.Open();
  w.SetFrom(kLines, &f.lines);
  vtSHOWHELP(nullptr, nullptr);
  while (w.Accept()) {
    const int32_t asked = VTWATCH(nullptr);
    if (asked > 0) {
      auto it = kTipNames.find(asked);
      if (it != kTipNames.end())
        vtCALLHELPTIP(tip_file.c_str(), "OrderEntry", it->second.control, it->second.type);
      continue;
    }
    if (rt::Event() != rt::kEventAccepted) continue;
    switch (rt::Field()) {
      case kAdd:
        f.lines.Add(Binding{f.product, sizeof f.product, nullptr}.Get(),
                    Binding{f.quantity, sizeof f.quantity, nullptr}.Get(), "");
        w.Display();
        break;
      case kRemove:
        f.lines.Remove(static_cast<size_t>(w.GetPropInt(kLines, rt::kPropSelStart)));
        w.Display();
        break;
      case kClose:
        rt::Post(rt::kEventCloseWindow);
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  rt::RuntimeThread main_thread;
  std::string tip_file = "demo-tips.tps";
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '/') tip_file = argv[i];
  vtSetCaption("");
  RunForm(tip_file);
  return 0;
}
