#include "widgets/PlaylistView.h"

namespace vd {

void ConfigurePlaylistView(TPlaylistView& view) {
    view.SetColor(clBlack);
    view.Font().SetName("MS Sans Serif");
    view.Font().SetSize(8);
    view.Font().SetColor(clLime);
    view.SetItemHeight(15);
}

void BindPlaylistChange(TPlaylistView& view,
                        std::function<void(TComponent*, int, int)> handler) {
    view.OnClick = [&view, handler](TComponent* sender) { handler(sender, -1, view.ItemIndex()); };
}

} // namespace vd
