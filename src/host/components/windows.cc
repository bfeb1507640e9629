// The host's windows that the library drives through components: the selection window
// ("ZOVEBCGLView.GLView"), pop-up tips ("ZovHelpTip.HelpTip"), the list window
// ("ZOVDisplayer.DispBuilder"), the related-bill window ("ZOVClassLookUp.RelateBilllookUp") and
// the price window ("ZOVPriceMgr.Application"). Each shows itself through the session's Ui().
#include "components/component_support.h"
#include "components/host_components.h"
#include "zov/host/components.h"
#include "zov/vb/strings.h"

namespace zov::sim::components {

namespace {

// --- selection window ----------------------------------------------------------------------------

class ItemSelection final : public vb::Implements<host::IItemSelection> {
 public:
  explicit ItemSelection(host::SelectionResult result) : result_(std::move(result)) {}
  std::string TypeName() const override { return "ItemSelection"; }

  long CheckPoints() const override { return static_cast<long>(result_.checkedIds.size()); }
  long CheckItems(long index) const override { return result_.checkedIds[Slot(index)]; }
  std::string ShowName(long index) const override {
    const std::size_t slot = Slot(index);
    return slot < result_.checkedNames.size() ? result_.checkedNames[slot] : std::string();
  }

 private:
  std::size_t Slot(long index) const {
    if (index < 1 || index > CheckPoints())
      throw vb::Error(kErrSubscript, "Subscript out of range", "ZOVEBCGLView.ItemSelection");
    return static_cast<std::size_t>(index - 1);
  }

  host::SelectionResult result_;
};

class GLView final : public vb::Implements<host::IGLView> {
 public:
  explicit GLView(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "GLView"; }

  // Shows the window over the items (narrowed by `filter`, an ADO filter, when one is given);
  // no result object when the person closed the window without choosing.
  Ref<host::IItemSelection> ItemSelect(const Ref<host::IRecordset>& items,
                                       const std::vector<long>& checked, std::string_view title,
                                       bool single, long, std::string_view filter) override {
    if (!items)
      Fail(ctx_, host::progid::kGLView, "ItemSelect", "ItemSelect: no items to choose from",
           vb::kErrObjectRequired);
    if (!vb::Trim(filter).empty()) {
      try {
        items->SetFilter(Variant(filter));
      } catch (const vb::Error& e) {
        Fail(ctx_, host::progid::kGLView, "ItemSelect", "ItemSelect: " + e.description(),
             e.number());
      }
    }
    host::SelectionResult result = ctx_.Ui().SelectItems(items, checked, title, single);
    if (!result.shown) return {};
    return vb::MakeRef<host::IItemSelection, ItemSelection>(std::move(result));
  }

 private:
  SessionContext& ctx_;
};

// --- pop-up tip
// ------------------------------------------------------------------------------------

class HelpTip final : public vb::Implements<host::IHelpTip> {
 public:
  explicit HelpTip(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "HelpTip"; }
  void ShowPopTip(long, std::string_view title, std::string_view text) override {
    ctx_.Ui().ShowPopTip(title, text);
  }

 private:
  SessionContext& ctx_;
};

// --- list window
// -----------------------------------------------------------------------------------

// Columns, titles and lines arrive as texts whose cells each end with "|". A line is cut into as
// many cells as the window has columns; the last cell keeps whatever "|" the text itself holds.
class DispBuilder final : public vb::Implements<host::IDispBuilder> {
 public:
  explicit DispBuilder(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "DispBuilder"; }

  void SetCols(long count) override {
    if (count < 0)
      Fail(ctx_, host::progid::kDispBuilder, "Cols", "Cols: the column count must not be negative");
    cols_ = count;
  }
  void SetTitles(std::string_view titles) override { titles_ = std::string(titles); }
  void SetColWidth(long col, long width) override {
    if (col < 1)
      Fail(ctx_, host::progid::kDispBuilder, "SetColWidth", "SetColWidth: columns count from 1",
           kErrSubscript);
    if (widths_.size() < static_cast<std::size_t>(col))
      widths_.resize(static_cast<std::size_t>(col), 0);
    widths_[static_cast<std::size_t>(col - 1)] = width;
  }
  void Add(std::string_view line) override { lines_.emplace_back(line); }

  void Show(long) override {
    const std::size_t cols = ColumnCount();
    std::vector<std::string> titles = Cells(titles_, cols);
    std::vector<long> widths(cols, kDefaultWidth);
    for (std::size_t i = 0; i < cols && i < widths_.size(); ++i)
      if (widths_[i] > 0) widths[i] = widths_[i];
    std::vector<std::vector<std::string>> rows;
    rows.reserve(lines_.size());
    for (const auto& line : lines_) rows.push_back(Cells(line, cols));
    ctx_.Ui().ShowList(titles, widths, rows);
  }

 private:
  static constexpr long kDefaultWidth = 1500;

  // The column count: as set, else as many as the titles name.
  std::size_t ColumnCount() const {
    if (cols_ > 0) return static_cast<std::size_t>(cols_);
    const std::size_t named = Pieces(titles_).size();
    return named > 0 ? named : 1;
  }

  // The cells of a text: each ends with "|"; a last piece without "|" is a cell too.
  static std::vector<std::string> Pieces(std::string_view text) {
    std::vector<std::string> pieces = vb::Split(text, "|");
    if (!pieces.empty() && !text.empty() && text.back() == '|') pieces.pop_back();
    return pieces;
  }

  static std::vector<std::string> Cells(std::string_view text, std::size_t cols) {
    std::string_view body = text;
    if (!body.empty() && body.back() == '|') body.remove_suffix(1);
    std::vector<std::string> cells = vb::Split(body, "|", static_cast<std::int32_t>(cols));
    cells.resize(cols);
    return cells;
  }

  SessionContext& ctx_;
  long cols_ = 0;
  std::string titles_;
  std::vector<long> widths_;
  std::vector<std::string> lines_;
};

// --- related-bill window
// -----------------------------------------------------------------------------

class RelateBillLookUp final : public vb::Implements<host::IRelateBillLookUp> {
 public:
  explicit RelateBillLookUp(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "RelateBilllookUp"; }

  void SetCaption(std::string_view caption) override { caption_ = std::string(caption); }
  void SetTitleName(std::string_view title) override { title_ = std::string(title); }
  void SetTitleDict(const Ref<IDictionary>& dict) override { titleDict_ = dict; }
  void SetEntryDict(const Ref<IDictionary>& dict) override { entryDict_ = dict; }
  void SetClassTypeID(long classTypeId) override { classTypeId_ = classTypeId; }
  void Show() override {
    ctx_.Ui().ShowRelatedBills(caption_, title_, titleDict_ ? titleDict_ : NewDictionary(),
                               entryDict_ ? entryDict_ : NewDictionary(), classTypeId_);
  }

 private:
  SessionContext& ctx_;
  std::string caption_;
  std::string title_;
  Ref<IDictionary> titleDict_;
  Ref<IDictionary> entryDict_;
  long classTypeId_ = 0;
};

// --- price window
// ----------------------------------------------------------------------------------

class PriceMgr final : public vb::Implements<host::IPriceMgr> {
 public:
  explicit PriceMgr(SessionContext& ctx) : ctx_(ctx) {}
  std::string TypeName() const override { return "Application"; }

  // The price list of the items per unit.
  void Show() override {
    Rows rows = Query(
        ctx_, host::progid::kPriceMgr,
        "SELECT i.FNumber, i.FName, i.FModel, u.FName AS FUnitName, p.FXSPrice, p.FXSLowPrice, "
        "p.FXSLatestPrice, p.FCGPrice, p.FCGLatestPrice FROM t_ItemPrice p "
        "INNER JOIN t_ICItem i ON i.FItemID=p.FItemID "
        "LEFT JOIN t_MeasureUnit u ON u.FItemID=p.FUnitID ORDER BY i.FNumber, p.FUnitID");
    ctx_.Ui().ShowData("价格管理",
                       Variant(Ref<host::IRecordset>(Recordset::New(std::move(rows.data())))));
  }

 private:
  SessionContext& ctx_;
};

}  // namespace

Ref<vb::IObject> NewGLView(SessionContext& ctx) { return vb::MakeRef<vb::IObject, GLView>(ctx); }
Ref<vb::IObject> NewHelpTip(SessionContext& ctx) { return vb::MakeRef<vb::IObject, HelpTip>(ctx); }
Ref<vb::IObject> NewDispBuilder(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, DispBuilder>(ctx);
}
Ref<vb::IObject> NewRelateBillLookUp(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, RelateBillLookUp>(ctx);
}
Ref<vb::IObject> NewPriceMgr(SessionContext& ctx) {
  return vb::MakeRef<vb::IObject, PriceMgr>(ctx);
}

}  // namespace zov::sim::components
