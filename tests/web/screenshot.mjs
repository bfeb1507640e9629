// The picture of the sales bill for the README: a bill of three rows, saved.
//   ZOV_WEB_URL=http://127.0.0.1:PORT node tests/web/screenshot.mjs docs/sales-bill.png
import { person, saleBill, typeCell, clickTool, idle } from './lib/harness.mjs';

async function row(page, number, item, qty) {
  await clickTool(page, 'mnuEditAddRow');
  await idle(page);
  await typeCell(page, 'FItemID', number, item);
  await typeCell(page, 'FShowQty', number, qty);
}

const out = process.argv[2] || 'sales-bill.png';
const { page, close } = await person('admin', { width: 1500, height: 760 });
await saleBill(page, { qty: 12, price: 25 });
await row(page, 2, 'I002', 48);
await row(page, 3, 'I003', 6);
await clickTool(page, 'mnuEditFileSave');
await idle(page);
await page.locator('.entry-wrap td[data-key="FAmount"][data-row="2"]').click();
await idle(page);
// The grid scrolled to the discounts, amounts and taxes.
await page.evaluate(() => {
  const wrap = document.querySelector('.entry-wrap');
  const unit = wrap.querySelector('th[data-key="FDiscountRate"]');
  const frozen = wrap.querySelector('th.rowno').offsetWidth + wrap.querySelector('th[data-key="FItemID"]').offsetWidth;
  wrap.scrollLeft = unit.offsetLeft - frozen;
});
await page.screenshot({ path: out });
await close();
console.log(out);
