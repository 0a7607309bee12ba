#include "tools/synth/SynthTables.h"

#include <cwchar>

const wchar_t* const SYNTH_POOL_CHARS =
    L"中国华东南西北新大天海金山科技电子能源医药生物信息通讯网络智控股集团份发展实投资"
    L"银证券保险建设工程材料化汽车机械备光环水务航空港口流农食品酒饮地产城市交钢铁煤炭"
    L"有色矿稀土力燃气石油精密仪器软件数据云计半导体芯片传媒文教育旅游店商贸百货零售服"
    L"饰纺织家居装创恒瑞康泰宏达安福隆兴利富强顺祥和丰鑫美佳明阳春江河湖泉林森宝玉龙凤"
    L"鹏飞腾威远联众诚德仁义礼嘉荣昌永久宁静平正辉星月日盈鼎锦凯雅博润洋亚欧澳维普特斯"
    L"克尔迪奥高速路桥湾岛川陕豫鲁冀晋辽吉黑苏浙皖闽赣湘鄂粤桂琼渝蜀黔滇藏甘青疆京津沪"
    L"深州乡都园开元亨盛旺丽彩虹晶珠钻铜铝锌镍锡钛钨钼锂钴磁泵阀管线缆端链慧算视听声影"
    L"像疗健养老业制剂疫苗基因诊断茶乳肉禽蛋粮糖果蔬种饲牧渔纸包印刷出版戏动漫培训餐运"
    L"快递仓储场公隧筑修泥玻璃陶瓷构塑橡胶纤鞋帽皮革具厨卫照五表轴承齿轮模焊接激自人无"
    L"船舶军雷";

const char* const SYNTH_POOL_INITIALS =
    "ZGHDNXBXDTHJSKJDZNYYYSWXXTXWLZKGJTFFZSTZYZQBXJSGCCLHQCJXBGHSWHKGKLNSPJYDCCSJGTMT"
    "YSKXTLRQSYJMYQRJSJYJBDTXPCMWJYLYDSMBHLSFSFZJJZCHRKTHDAFLXLFQSXHFXMJMYCJHHQLSBYLF"
    "PFTWYLZCDRYLJRCYJNJPZHXYRYDJKYBRYYOAWPTSKEDAGSLQWDCSYLJJLJHSZWMGXEYGQYSQDZGQJJJH"
    "SZXDYKYHSWLCHJZZTLXNXTWMLGCBFGXLDLHSSTSYXLJYLYZJYMJYZDCRRQDLTGSZSMYZBYSCBXDMPXCY"
    "KDCCCGSZXNBLTCGSXJXXMPGJCWZWBZCCLMHJJZRWCBJL";

size_t SynthPoolSize() {
  static const size_t size = std::wcslen(SYNTH_POOL_CHARS);
  return size;
}

#define SYNTH_LIST(name, array) \
  const SynthProductList name = {array, sizeof(array) / sizeof(array[0])}

namespace {

const SynthProduct CFFEX_INDEX[] = {
    {L"IF", L"沪深300股指", L"HS300GZ"},
    {L"IH", L"上证50股指", L"SZ50GZ"},
    {L"IC", L"中证500股指", L"ZZ500GZ"},
    {L"IM", L"中证1000股指", L"ZZ1000GZ"},
};

const SynthProduct CFFEX_BOND[] = {
    {L"T", L"十年国债", L"SNGZ"},
    {L"TF", L"五年国债", L"WNGZ"},
    {L"TS", L"二年国债", L"ENGZ"},
    {L"TL", L"三十年国债", L"SSNGZ"},
};

const SynthProduct SHFE[] = {
    {L"cu", L"沪铜", L"HT"},    {L"al", L"沪铝", L"HL"},    {L"zn", L"沪锌", L"HX"},
    {L"pb", L"沪铅", L"HQ"},    {L"ni", L"沪镍", L"HN"},    {L"sn", L"沪锡", L"HX"},
    {L"au", L"沪金", L"HJ"},    {L"ag", L"沪银", L"HY"},    {L"rb", L"螺纹钢", L"LWG"},
    {L"hc", L"热卷", L"RJ"},    {L"ss", L"不锈钢", L"BXG"}, {L"ru", L"橡胶", L"XJ"},
    {L"fu", L"燃油", L"RY"},    {L"bu", L"沥青", L"LQ"},    {L"sp", L"纸浆", L"ZJ"},
    {L"ao", L"氧化铝", L"YHL"}, {L"wr", L"线材", L"XC"},    {L"br", L"丁二烯橡胶", L"DEXXJ"},
};

const SynthProduct DCE[] = {
    {L"m", L"豆粕", L"DP"},     {L"y", L"豆油", L"DY"},     {L"p", L"棕榈油", L"ZLY"},
    {L"a", L"豆一", L"DY"},     {L"b", L"豆二", L"DE"},     {L"c", L"玉米", L"YM"},
    {L"cs", L"淀粉", L"DF"},    {L"i", L"铁矿石", L"TKS"},  {L"j", L"焦炭", L"JT"},
    {L"jm", L"焦煤", L"JM"},    {L"l", L"塑料", L"SL"},     {L"pp", L"聚丙烯", L"JBX"},
    {L"v", L"PVC", L"PVC"},     {L"eg", L"乙二醇", L"YEC"}, {L"eb", L"苯乙烯", L"BYX"},
    {L"pg", L"液化气", L"YHQ"}, {L"jd", L"鸡蛋", L"JD"},    {L"lh", L"生猪", L"SZ"},
    {L"rr", L"粳米", L"JM"},    {L"fb", L"纤维板", L"XWB"}, {L"bb", L"胶合板", L"JHB"},
    {L"lg", L"原木", L"YM"},
};

const SynthProduct CZCE[] = {
    {L"SR", L"白糖", L"BT"},       {L"CF", L"棉花", L"MH"}, {L"TA", L"PTA", L"PTA"},
    {L"MA", L"甲醇", L"JC"},       {L"FG", L"玻璃", L"BL"}, {L"RM", L"菜粕", L"CP"},
    {L"OI", L"菜油", L"CY"},       {L"AP", L"苹果", L"PG"}, {L"SA", L"纯碱", L"CJ"},
    {L"UR", L"尿素", L"NS"},       {L"SF", L"硅铁", L"GT"}, {L"SM", L"锰硅", L"MG"},
    {L"CJ", L"红枣", L"HZ"},       {L"PK", L"花生", L"HS"}, {L"SH", L"烧碱", L"SJ"},
    {L"PX", L"对二甲苯", L"DEJB"}, {L"CY", L"棉纱", L"MS"}, {L"PF", L"短纤", L"DX"},
    {L"ZC", L"动力煤", L"DLM"},    {L"WH", L"强麦", L"QM"}, {L"PM", L"普麦", L"PM"},
    {L"RS", L"菜籽", L"CZ"},       {L"JR", L"粳稻", L"JD"},
};

const SynthProduct INE[] = {
    {L"sc", L"原油", L"YY"},    {L"lu", L"低硫燃油", L"DLRY"}, {L"nr", L"20号胶", L"20HJ"},
    {L"bc", L"国际铜", L"GJT"}, {L"ec", L"集运欧线", L"JYOX"},
};

const SynthProduct GFEX[] = {
    {L"si", L"工业硅", L"GYG"},
    {L"lc", L"碳酸锂", L"TSL"},
    {L"ps", L"多晶硅", L"DJG"},
};

const SynthProduct INDEX_OPTIONS[] = {
    {L"IO", L"沪深300", L"HS300", 3000, 50},
    {L"MO", L"中证1000", L"ZZ1000", 5000, 100},
    {L"HO", L"上证50", L"SZ50", 2200, 25},
};

const SynthProduct DALIAN_OPTIONS[] = {
    {L"m", L"豆粕", L"DP", 2500, 50},
    {L"c", L"玉米", L"YM", 1900, 20},
    {L"i", L"铁矿石", L"TKS", 600, 10},
};

const SynthProduct ZHENGZHOU_OPTIONS[] = {
    {L"SR", L"白糖", L"BT", 5000, 100},
    {L"CF", L"棉花", L"MH", 12000, 200},
    {L"MA", L"甲醇", L"JC", 2000, 25},
};

const SynthProduct SHANGHAI_OPTIONS[] = {
    {L"cu", L"沪铜", L"HT", 70000, 1000},
    {L"au", L"沪金", L"HJ", 400, 8},
    {L"ru", L"橡胶", L"XJ", 12000, 250},
};

const SynthProduct GOLD_EXCHANGE_SPOT[] = {
    {L"AU", L"黄金", L"HJ"},
    {L"AG", L"白银", L"BY"},
    {L"PT", L"铂金", L"BJ"},
};

const SynthProduct LONDON_SPOT[] = {
    {L"XAU", L"现货黄金", L"XHHJ"},
    {L"XAG", L"现货白银", L"XHBY"},
    {L"XPT", L"现货铂金", L"XHBJ"},
    {L"XPD", L"现货钯金", L"XHBJ"},
};

const SynthProduct CURRENCIES[] = {
    {L"USD", L"美元", L"MY"},    {L"EUR", L"欧元", L"OY"},          {L"JPY", L"日元", L"RY"},
    {L"GBP", L"英镑", L"YB"},    {L"HKD", L"港元", L"GY"},          {L"AUD", L"澳元", L"AY"},
    {L"CAD", L"加元", L"JY"},    {L"CHF", L"瑞郎", L"RL"},          {L"NZD", L"纽元", L"NY"},
    {L"CNY", L"人民币", L"RMB"}, {L"SGD", L"新加坡元", L"XJPY"},    {L"KRW", L"韩元", L"HY"},
    {L"THB", L"泰铢", L"TZ"},    {L"RUB", L"卢布", L"LB"},          {L"INR", L"印度卢比", L"YDLB"},
    {L"MYR", L"林吉特", L"LJT"}, {L"MXN", L"墨西哥比索", L"MXGBS"}, {L"BRL", L"雷亚尔", L"LYE"},
    {L"ZAR", L"兰特", L"LT"},    {L"TRY", L"里拉", L"LL"},          {L"SEK", L"瑞典克朗", L"RDKL"},
    {L"PLN", L"兹罗提", L"ZLT"}, {L"HUF", L"福林", L"FL"},          {L"AED", L"迪拉姆", L"DLM"},
};

}  // namespace

SYNTH_LIST(SYNTH_CFFEX_INDEX_FUTURES, CFFEX_INDEX);
SYNTH_LIST(SYNTH_CFFEX_BOND_FUTURES, CFFEX_BOND);
SYNTH_LIST(SYNTH_SHFE_FUTURES, SHFE);
SYNTH_LIST(SYNTH_DCE_FUTURES, DCE);
SYNTH_LIST(SYNTH_CZCE_FUTURES, CZCE);
SYNTH_LIST(SYNTH_INE_FUTURES, INE);
SYNTH_LIST(SYNTH_GFEX_FUTURES, GFEX);
SYNTH_LIST(SYNTH_INDEX_OPTIONS, INDEX_OPTIONS);
SYNTH_LIST(SYNTH_DALIAN_OPTIONS, DALIAN_OPTIONS);
SYNTH_LIST(SYNTH_ZHENGZHOU_OPTIONS, ZHENGZHOU_OPTIONS);
SYNTH_LIST(SYNTH_SHANGHAI_OPTIONS, SHANGHAI_OPTIONS);
SYNTH_LIST(SYNTH_GOLD_EXCHANGE_SPOT, GOLD_EXCHANGE_SPOT);
SYNTH_LIST(SYNTH_LONDON_SPOT, LONDON_SPOT);
SYNTH_LIST(SYNTH_CURRENCIES, CURRENCIES);
