#include "factortransfer.h"

#include "frame.h"
#include "link.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <algorithm>

namespace tarvo::tempcomp {

std::span<const std::uint16_t> factorBlock(const Factors& factors, int block, int colour)
{
    if (block < 0 || block >= kFactorBlocks || colour < 0 || colour >= kChannels)
        return {};
    return std::span<const std::uint16_t>(factors.channel(colour)).subspan(static_cast<std::size_t>(10 * block), 10);
}

QString describeCutFactors(int blocksWritten)
{
    const auto block = [](int b) {
        return QCoreApplication::translate("FactorTransfer", "%1 block %2")
            .arg(QLatin1String(kChannelNames[b / kFactorBlocks]))
            .arg(b % kFactorBlocks);
    };
    const int all = kChannels * kFactorBlocks;
    QStringList parts;
    if (blocksWritten > 0)
        parts << QCoreApplication::translate("FactorTransfer", "%1 to %2 new").arg(block(0), block(blocksWritten - 1));
    if (blocksWritten < all)
        parts << QCoreApplication::translate("FactorTransfer", "%1 perhaps").arg(block(blocksWritten));
    if (blocksWritten + 1 < all)
        parts << QCoreApplication::translate("FactorTransfer", "%1 to %2 as before")
                     .arg(block(blocksWritten + 1), block(all - 1));
    return parts.join(QStringLiteral("; "));
}

bool SendFactorTables(Exchange& exchange, Link& link, const Factors& factors, int* blocksWritten, int pauseMs)
{
    if (blocksWritten)
        *blocksWritten = 0;
    link.FlushQueues();

    if (!exchange.send({.code = frame::CompStart, .echoWords = 2}))
        return false;

    // A pause between the announcement and the tables; no other callback runs meanwhile.
    QThread::msleep(static_cast<unsigned long>(std::max(0, pauseMs)));

    for (int colour = 0; colour < kChannels; ++colour) {
        for (int block = 0; block < kFactorBlocks; ++block) {
            const CheckedSend blockFrame{.code = static_cast<std::uint16_t>(frame::CompRed + colour),
                                         .arg = static_cast<std::uint16_t>(block),
                                         .echoWords = 13,
                                         .payload = factorBlock(factors, block, colour)};
            if (!exchange.send(blockFrame))
                return false;  // what was acknowledged stays sent
            if (blocksWritten)
                ++*blocksWritten;
        }
    }
    return true;
}

}  // namespace tarvo::tempcomp
