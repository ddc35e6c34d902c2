#include "lib/clipboard/text_block.h"

namespace bk::clipboard {

std::string_view TextBytesOfBlock(std::string_view block, std::size_t unit) {
    if (unit != 2) unit = 1;
    block = block.substr(0, block.size() / unit * unit);
    for (std::size_t i = 0; i < block.size(); i += unit) {
        if (block[i] == '\0' && (unit == 1 || block[i + 1] == '\0')) return block.substr(0, i);
    }
    return block;
}

}  // namespace bk::clipboard
