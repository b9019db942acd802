#include "buyersim/buyer_state.h"

#include "support/temp_folder.h"

#include <QSet>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace buyersim;

namespace {

const QDate today(2026, 6, 26);

} // namespace

TEST(BuyerState, DemoDataHasTheCasesASupplierShouldSee)
{
    const BuyerState state = demoState(today);
    EXPECT_EQ(state.lojas, (QStringList { u"MATRIZ"_s, u"FILIAL 1"_s, u"FILIAL 2"_s }));
    ASSERT_EQ(state.cotacoes.size(), 5);
    EXPECT_GT(state.cotacoes.at(0).validade, today);
    EXPECT_LT(state.cotacoes.at(2).validade, today);
    EXPECT_EQ(state.cotacoes.at(4).status, u"FECHADA"_s);
    EXPECT_TRUE(state.cotacoes.at(0).itens.first().aplicacao.contains(u"\r\n"_s));
    ASSERT_EQ(state.pedidos.size(), 2);
    // One order for the three stores, one for two, each worth over a thousand.
    for (int k = 0; k < 2; ++k) {
        const Order &pedido = state.pedidos.at(k);
        EXPECT_EQ(pedido.status, u"Liberado"_s);
        std::array<double, storeCount> perStore {};
        double total = 0;
        for (const OrderItem &item : pedido.itens) {
            total += item.qtde() * item.valor;
            for (int loja = 0; loja < storeCount; ++loja)
                perStore[loja] += item.qtdeLoja[loja] * item.valor;
        }
        EXPECT_GE(total, 1000) << k;
        EXPECT_EQ(std::count_if(perStore.cbegin(), perStore.cend(), [](double v) { return v > 0; }), 3 - k);
    }
}

TEST(BuyerState, RoundTripThroughTheFile)
{
    TempFolder folder;
    BuyerState state = demoState(today);
    state.cotacoes.first().ateHora = QTime(); // no limit hour
    state.envios.append(Submission { u"2026000101"_s, QDateTime(today, QTime(10, 30, 15)),
        { SubmittedItem { u"MARCOS"_s, u"2026000101"_s, u"06/26/2026"_s, u"0010230"_s, u"10"_s, QString(),
            u"28 DDL"_s, u"X"_s, u"ação|obs"_s } } });
    state.save(folder.file(u"s.json"_s));

    const BuyerState loaded = BuyerState::load(folder.file(u"s.json"_s));
    EXPECT_EQ(loaded.toJson(), state.toJson());
    EXPECT_TRUE(loaded.cotacoes.first().ateHora.isNull());
    EXPECT_EQ(loaded.cotacoes.at(1).itens.first().aplicacao, state.cotacoes.at(1).itens.first().aplicacao);
    ASSERT_EQ(loaded.envios.size(), 1);
    EXPECT_EQ(loaded.envios.first().recebida, QDateTime(today, QTime(10, 30, 15)));
    EXPECT_EQ(loaded.envios.first().itens.first().obs, u"ação|obs"_s);
    EXPECT_TRUE(loaded.answered(u"2026000101"_s));
    EXPECT_FALSE(loaded.answered(u"2026000102"_s));
}

TEST(BuyerState, BadFilesAreRefusedWithTheirPlace)
{
    TempFolder folder;
    const QList<QPair<QByteArray, QString>> cases {
        { "{\"cotacoes\": [", u"invalid JSON"_s },
        { "[]", u"JSON object"_s },
        { R"({"cotacoes":[{"numero":"1","contato":"M","validade":"2026-02-30","liberada":"2026-01-01"}]})",
            u"quotation 1, \"validade\""_s },
        { R"({"cotacoes":[{"numero":"1|2","contato":"M","validade":"2026-01-01","liberada":"2026-01-01"}]})",
            u"quotation 1, \"numero\""_s },
        { R"({"pedidos":[{"numero":"7","contato":"M","liberado":"2026-01-01"},)"
          R"({"numero":"7","contato":"M","liberado":"2026-01-01"}]})",
            u"order 2, \"numero\": repeated"_s },
        { R"({"pedidos":[{"numero":"7","contato":" ","liberado":"2026-01-01"}]})",
            u"order 1, \"contato\""_s },
        { R"({"pedidos":[{"numero":"7","contato":"M","liberado":"2026-01-01","itens":[{"produto":"A","valor":"x"}]}]})",
            u"order 1, item 1, \"valor\""_s },
    };
    for (const auto &[json, where] : cases) {
        folder.write(u"bad.json"_s, json);
        try {
            BuyerState::load(folder.file(u"bad.json"_s));
            ADD_FAILURE() << "accepted " << json.data();
        } catch (const StateError &error) {
            EXPECT_TRUE(error.message().contains(where)) << error.what();
        }
        EXPECT_EQ(folder.read(u"bad.json"_s), json);
    }
}

TEST(BuyerState, GeneratedDocumentsTakeTheNextNumbersAndDistinctCodes)
{
    BuyerState state = demoState(today);
    const GeneratedNumbers numbers = addGenerated(state, 500, today);
    EXPECT_EQ(numbers.cotacao, u"2026000203"_s);
    EXPECT_EQ(numbers.pedido, u"2026000204"_s);
    const Quotation *cotacao = state.quotation(numbers.cotacao);
    const Order *pedido = state.order(numbers.pedido);
    ASSERT_TRUE(cotacao && pedido);
    ASSERT_EQ(cotacao->itens.size(), 500);
    ASSERT_EQ(pedido->itens.size(), 500);
    QSet<QString> codes;
    for (const QuotationItem &item : cotacao->itens) {
        codes.insert(item.produto);
        EXPECT_LE(item.produto.size(), 15);
    }
    EXPECT_EQ(codes.size(), 500);
    EXPECT_GT(cotacao->validade, today);
    // Generated documents survive the file like any other.
    TempFolder folder;
    state.save(folder.file(u"s.json"_s));
    EXPECT_EQ(BuyerState::load(folder.file(u"s.json"_s)).cotacoes.size(), 6);
}
