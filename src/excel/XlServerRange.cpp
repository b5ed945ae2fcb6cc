// Range object of the spreadsheet server.
#include <algorithm>

#include "excel/XlServer.h"

namespace xl {
namespace {

constexpr int kLastCell = 11;  // xlCellTypeLastCell

class XlRange : public AutoObject {
public:
    explicit XlRange(RangeTarget target) : target_(std::move(target)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        target_.CheckAlive();
        const MemberCall call{"Range", member, kind, args};
        const std::string name = LowerAscii(member);
        if (name == "value" || name == "value2") return Value(call);
        if (name == "select" || name == "activate") return Select(call);
        if (name == "clearcontents") {
            call.ExpectParams(0, 0);
            ClearRangeContents(target_);
            return {};
        }
        if (name == "cut" || name == "copy") return CutOrCopy(call, name == "cut");
        if (name == "specialcells") return SpecialCells(call);
        if (name == "row") return Number(call, target_.rect.top);
        if (name == "column") return Number(call, target_.rect.left);
        if (name == "count") return Number(call, target_.rect.CellCount());
        if (name == "address") {
            call.ExpectGet();
            return Variant::FromStr(RangeAddress(target_.rect));
        }
        if (name == "font") return Part(call, MakeFont(target_));
        if (name == "interior") return Part(call, MakeInterior(target_));
        if (name == "borders") return Borders(call);
        if (name == "horizontalalignment") return Alignment(call, &CellFormat::hAlign, IsValidHorizontalAlignment);
        if (name == "verticalalignment") return Alignment(call, &CellFormat::vAlign, IsValidVerticalAlignment);
        if (name == "merge") {
            call.ExpectParams(0, 1);  // Merge(Across) merges the whole range
            MergeRange(target_);
            return {};
        }
        if (name == "unmerge") {
            call.ExpectParams(0, 0);
            UnMergeRange(target_);
            return {};
        }
        if (name == "mergecells") return MergeCells(call);
        call.Unknown();
    }

    const RangeTarget& Target() const { return target_; }

private:
    Variant Value(const MemberCall& call) {
        call.ExpectParams(0, 1);  // Value(RangeValueDataType) is accepted
        if (call.IsPut()) {
            WriteRangeValue(target_, call.NewValue());
            return {};
        }
        return ReadRangeValue(target_);
    }

    Variant Select(const MemberCall& call) {
        call.ExpectParams(0, 1);
        target_.session->ActivateSheet(target_.book, target_.sheet);
        target_.sheet->selection = target_.rect;
        return {};
    }

    Variant CutOrCopy(const MemberCall& call, bool cut) {
        call.ExpectParams(0, 1);
        CopyRangeToClipboard(target_, cut);
        if (call.HasParam(0)) {
            // Cut(Destination) and Copy(Destination) paste at once.
            const auto destination = RangeTargetOf(call.Params()[0]);
            if (!destination) call.Fail("the destination must be a range");
            destination->CheckAlive();
            destination->sheet->selection = destination->rect;
            PasteClipboard(*target_.session, destination->book, destination->sheet);
        }
        return {};
    }

    Variant SpecialCells(const MemberCall& call) {
        call.ExpectParams(1, 2);
        if (call.IntParam(0) != kLastCell) call.Fail("only the last cell (11) is supported");
        const CellPos last = target_.sheet->LastUsedCell();
        return ObjectVariant(MakeRange(target_.WithRect(RangeRect::Cell(last.row, last.col))));
    }

    static Variant Number(const MemberCall& call, int64_t value) {
        call.ExpectGet();
        return Variant::FromInt(value, VarKind::I4);
    }

    static Variant Part(const MemberCall& call, AutoRef part) {
        call.ExpectGet();
        return ObjectVariant(std::move(part));
    }

    Variant Borders(const MemberCall& call) {
        if (call.IsPut()) call.Fail("assign to a member of one border instead");
        call.ExpectParams(1, 1);
        const int64_t index = call.IntParam(0);
        if (index < 5 || index > 12) call.Fail("border index " + std::to_string(index) + " is not 5 to 12");
        return ObjectVariant(MakeBorder(target_, int(index)));
    }

    Variant Alignment(const MemberCall& call, int CellFormat::*field, bool (*valid)(int)) {
        call.ExpectParams(0, 0);
        if (!call.IsPut()) {
            const RangeRect& rect = target_.rect;
            return Variant::FromInt(FormatAt(target_, rect.top, rect.left).*field, VarKind::I4);
        }
        const int64_t code = call.IntValue();
        if (code < INT32_MIN || code > INT32_MAX || !valid(int(code)))
            call.Fail(std::to_string(code) + " is not an alignment constant");
        ChangeFormats(target_, target_.rect, [&](CellFormat& format) { format.*field = int(code); });
        return {};
    }

    Variant MergeCells(const MemberCall& call) {
        call.ExpectParams(0, 0);
        if (call.IsPut()) {
            if (call.BoolValue()) MergeRange(target_);
            else UnMergeRange(target_);
            return {};
        }
        const auto& merges = target_.sheet->merges;
        const bool merged = std::any_of(merges.begin(), merges.end(), [&](const RangeRect& merge) {
            return merge.Contains(target_.rect.top, target_.rect.left);
        });
        return Variant::FromBool(merged);
    }

    RangeTarget target_;
};

}  // namespace

AutoRef MakeRange(const RangeTarget& target) { return std::make_shared<XlRange>(target); }

std::optional<RangeTarget> RangeTargetOf(const Variant& value) {
    const auto range = std::dynamic_pointer_cast<XlRange>(ObjectOf(value));
    if (!range) return std::nullopt;
    return range->Target();
}

}  // namespace xl
