#include "skin/VsGraphics.h"

#include "framework/Stream.h"
#include "skin/VsSysUtils.h"

namespace vd {

namespace {

const char* const kTruncated = "Skin data is truncated or corrupt.";

// Reads a 32-bit value, failing with the one error of a cut-off block.
int32_t ReadChecked(TStream& stream) {
    if (stream.Remaining() < 4)
        throw EVsSkinFormatError(kTruncated);
    return stream.ReadInt32();
}

// An update bracket closed however the scope ends.
class UpdateBracket {
public:
    explicit UpdateBracket(TVsPersistent& target) : target_(target) { target_.BeginUpdate(); }
    ~UpdateBracket() { target_.EndUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TVsPersistent& target_;
};

} // namespace

void TVsGraphic::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TVsGraphic*>(source);
    if (other == nullptr)
        return;
    UpdateBracket bracket(*this);
    name_ = other->name_;
    bitmap_.Assign(&other->bitmap_);
}

TVsGraphics::~TVsGraphics() {
    OnChange = nullptr;
    items_.clear();
}

TVsGraphic* TVsGraphics::Items(int32_t index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)].get();
}

int32_t TVsGraphics::Add(const TVsGraphic* source) {
    auto graphic = std::make_unique<TVsGraphic>();
    graphic->Assign(source);
    items_.push_back(std::move(graphic));
    Changed();
    return Count() - 1;
}

void TVsGraphics::Delete(int32_t index) {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
    Changed();
}

void TVsGraphics::Clear() {
    UpdateBracket bracket(*this);
    while (Count() > 0)
        Delete(0);
}

int32_t TVsGraphics::IndexOf(std::string_view name) const {
    for (int32_t i = 0; i < Count(); ++i)
        if (AnsiSameText(items_[static_cast<std::size_t>(i)]->Name(), name))
            return i;
    return -1;
}

void TVsGraphics::Assign(const TPersistent* source) {
    if (source == nullptr) {
        Clear();
        return;
    }
    const auto* other = dynamic_cast<const TVsGraphics*>(source);
    if (other == nullptr || other == this)
        return;
    UpdateBracket bracket(*this);
    Clear();
    for (const auto& graphic : other->items_)
        Add(graphic.get());
}

void TVsGraphics::LoadFromStream(TStream& stream) {
    Clear();
    TVsGraphic scratch;
    if (stream.Remaining() < 4 || stream.ReadUInt32() != kMagic)
        throw EVsSkinFormatError("Invalid file format.");
    const int32_t count = ReadChecked(stream);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t name_length = ReadChecked(stream);
        if (name_length < 0 || name_length > stream.Remaining())
            throw EVsSkinFormatError(kTruncated);
        std::string name(static_cast<std::size_t>(name_length), '\0');
        stream.ReadBuffer(name.data(), name.size());
        scratch.SetName(name);
        if (stream.Remaining() < 1)
            throw EVsSkinFormatError(kTruncated);
        if (stream.ReadByte() == 0) {
            // The bitmap's own header says how long it is: check it fits before reading.
            const int64_t start = stream.Position();
            if (stream.Remaining() < 14)
                throw EVsSkinFormatError(kTruncated);
            uint8_t header[6];
            stream.ReadBuffer(header, sizeof header);
            stream.SetPosition(start);
            const uint32_t size =
                static_cast<uint32_t>(header[2]) | (static_cast<uint32_t>(header[3]) << 8) |
                (static_cast<uint32_t>(header[4]) << 16) | (static_cast<uint32_t>(header[5]) << 24);
            if (header[0] == 'B' && header[1] == 'M' && size > stream.Remaining())
                throw EVsSkinFormatError(kTruncated);
            scratch.Bitmap().LoadFromStream(stream);
        } else {
            scratch.Bitmap().SetSize(0, 0);
        }
        Add(&scratch);
    }
}

void TVsGraphics::SaveToStream(TStream& stream) const {
    stream.WriteUInt32(kMagic);
    stream.WriteInt32(Count());
    for (const auto& graphic : items_) {
        const std::string& name = graphic->Name();
        stream.WriteInt32(static_cast<int32_t>(name.size()));
        if (!name.empty())
            stream.WriteBuffer(name.data(), name.size());
        const bool empty = graphic->Bitmap().Empty();
        stream.WriteByte(empty ? 1 : 0);
        if (!empty)
            graphic->Bitmap().SaveToStream(stream);
    }
}

void TVsGraphics::LoadFromFile(const std::string& path) {
    TFileStream stream(path, TFileStream::Mode::OpenRead);
    UpdateBracket bracket(*this);
    LoadFromStream(stream);
}

void TVsGraphics::SaveToFile(const std::string& path) const {
    TFileStream stream(path, TFileStream::Mode::Create);
    SaveToStream(stream);
}

void TVsGraphics::ReadData(TStream& stream) {
    UpdateBracket bracket(*this);
    Clear();
    LoadFromStream(stream);
}

void TVsGraphics::WriteData(TStream& stream) {
    UpdateBracket bracket(*this);
    SaveToStream(stream);
}

} // namespace vd
