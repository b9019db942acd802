#include "common/clock.h"
#include "exchange/multipart_form.h"

#include "support/qstring_printer.h"

#include <gtest/gtest.h>

namespace {

class MultipartFormTest : public ::testing::Test {
protected:
    MultipartFormTest() { Clock::setCurrent(&m_clock); }
    ~MultipartFormTest() override { Clock::setCurrent(nullptr); }

private:
    FixedClock m_clock { QDateTime(QDate(2020, 6, 26), QTime(14, 5, 9, 42)) };
};

} // namespace

TEST_F(MultipartFormTest, BoundaryIsTheTimeOfCreation)
{
    const MultipartForm form;
    EXPECT_EQ(form.boundary(), QStringLiteral("--------062620140509042"));
    EXPECT_EQ(form.contentType(), QStringLiteral("multipart/form-data; boundary=--------062620140509042"));
}

TEST_F(MultipartFormTest, BodyOfTwoFields)
{
    MultipartForm form;
    form.addField(
        QStringLiteral("items1"), QString::fromUtf8("Ana|1|06/26/2020|Pastilha ç|10|1234.5|30 dias||"));
    form.addField(
        QStringLiteral("items2"), QString::fromUtf8("Ana|1|06/26/2020|Disco €|2||à vista|x|linha\r\nnova"));
    const QByteArray expected = "----------062620140509042\r\n"
                                "Content-Disposition: form-data; name=\"items1\"\r\n"
                                "Content-Type: text/plain\r\n"
                                "Content-Transfer-Encoding: 8bit\r\n"
                                "\r\n"
                                "Ana|1|06/26/2020|Pastilha \xE7|10|1234.5|30 dias||\r\n"
                                "----------062620140509042\r\n"
                                "Content-Disposition: form-data; name=\"items2\"\r\n"
                                "Content-Type: text/plain\r\n"
                                "Content-Transfer-Encoding: 8bit\r\n"
                                "\r\n"
                                "Ana|1|06/26/2020|Disco ?|2||\xE0 vista|x|linha\r\nnova\r\n"
                                "----------062620140509042--\r\n";
    EXPECT_EQ(form.body(), expected);
    EXPECT_EQ(form.fieldCount(), 2);
}

TEST_F(MultipartFormTest, FormWithoutFieldsHasEmptyBody)
{
    const MultipartForm form;
    EXPECT_TRUE(form.body().isEmpty());
    EXPECT_EQ(form.fieldCount(), 0);
}
