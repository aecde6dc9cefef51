#include "factortransfer.h"

#include "frame.h"
#include "link.h"

#include <QStringList>
#include <QThread>

namespace tarvo::tempcomp {

ExchangeOptions toolExchangeOptions()
{
    ExchangeOptions o;
    o.replyLimit = 2.0;
    o.lineCheckTcpLimit = 5.0;
    o.headerOnlyFrames = true;
    o.lineCheckStopsAutoSend = false;
    o.lineCheckSerialLimit = 2.0;
    o.lineCheckSerialRunsEvents = false;
    o.lineCheckFailureIsTimeout = false;
    return o;
}

void FillTxBufRGB(Exchange& exchange, const Factors& factors, std::uint16_t command, std::uint16_t block, int colour)
{
    exchange.FillTxBuf(command, block);
    if (block >= kFactorBlocks || colour < 0 || colour >= kChannels)
        return;
    const FactorTable& table = factors.channel(colour);
    for (int k = 0; k < 10; ++k)
        frame::putWord(exchange.szWriteBuf.data(), 3 + k, table[static_cast<size_t>(10 * block + k)]);
}

QString describeCutFactors(int blocksWritten)
{
    const auto block = [](int b) {
        return QStringLiteral("%1 block %2")
            .arg(QLatin1String(kChannelNames[b / kFactorBlocks]))
            .arg(b % kFactorBlocks);
    };
    const int all = kChannels * kFactorBlocks;
    QStringList parts;
    if (blocksWritten > 0)
        parts << QStringLiteral("%1 to %2 new").arg(block(0), block(blocksWritten - 1));
    if (blocksWritten < all)
        parts << QStringLiteral("%1 perhaps").arg(block(blocksWritten));
    if (blocksWritten + 1 < all)
        parts << QStringLiteral("%1 to %2 as before").arg(block(blocksWritten + 1), block(all - 1));
    return parts.join(QStringLiteral("; "));
}

bool SendFactorTables(Exchange& exchange, Link& link, const Factors& factors, int* blocksWritten)
{
    if (blocksWritten)
        *blocksWritten = 0;
    link.FlushQueues();

    exchange.order = frame::CompStart;
    exchange.FillTxBuf(exchange.order, 0);
    exchange.WriteFrame();
    exchange.CheckEcho(2);
    if (exchange.comecho == 0)
        return false;

    // A pause between the announcement and the tables; no other callback runs meanwhile.
    QThread::msleep(200);

    exchange.order = frame::CompRed;
    for (int colour = 0; colour < kChannels; ++colour) {
        for (int block = 0; block < kFactorBlocks; ++block) {
            FillTxBufRGB(exchange, factors, static_cast<std::uint16_t>(frame::CompRed + colour),
                         static_cast<std::uint16_t>(block), colour);
            exchange.WriteFrame();
            exchange.CheckEcho(13);
            if (exchange.comecho == 0)
                return false;  // what was acknowledged stays sent
            if (blocksWritten)
                ++*blocksWritten;
        }
    }
    return true;
}

}  // namespace tarvo::tempcomp
