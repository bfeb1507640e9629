// Values hidden by the user's rights never reach the browser: a user without the price right
// sees no price column, and neither the page nor any answer of the server holds what the
// hidden columns hold.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, openList, head, clickTool, idle, saleBill,
} from './lib/harness.mjs';

let admin;
let clerk;
before(async () => {
  admin = await person('admin');
  clerk = await person('wangxm');
});
after(async () => {
  await admin.close();
  await clerk.close();
});

// The columns of row 1 as the page shows them: key -> text.
async function rowOne(page) {
  return page.evaluate(() => Object.fromEntries([...document.querySelectorAll('.entry-wrap tr[data-row="1"] td')]
    .map((td) => [td.dataset.key, td.textContent.trim()])));
}

test('without the price right the price columns and their values stay on the server', async () => {
  await saleBill(admin.page, { qty: 3, price: 12.34 });
  await clickTool(admin.page, 'mnuEditFileSave');
  await idle(admin.page);
  const billNo = await head(admin.page, 'FBillNo').inputValue();
  const seen = await rowOne(admin.page);
  assert.ok('FPrice' in seen, 'the administrator sees the price');

  const { page, responses } = clerk;
  await openList(page);
  await page.locator(`table.bills tr[data-bill-no="${billNo}"]`).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  const shown = await rowOne(page);
  assert.ok('FItemID' in shown && 'FShowQty' in shown, 'the row is there');
  assert.ok(!('FPrice' in shown), 'no price column');
  assert.equal(await page.locator('.entry-wrap th', { hasText: /^单价$/ }).count(), 0);

  // What the clerk may see anyway (the row's other cells, the header) is no secret.
  const hidden = Object.keys(seen).filter((key) => !(key in shown));
  const visible = [...Object.values(shown),
    ...await page.locator('.head input[type=text]').evaluateAll((inputs) => inputs.map((i) => i.value))];
  const secrets = hidden.map((key) => seen[key])
    .filter((v) => /[1-9]/.test(v) && !visible.some((shownText) => shownText.includes(v)));
  assert.ok(secrets.length > 0, 'the hidden columns held numbers');
  const source = await page.content();
  for (const text of [source, ...responses]) {
    for (const key of hidden) assert.ok(!text.includes(`"${key}"`) && !text.includes(`data-key="${key}"`), `${key} left the server`);
    for (const value of secrets) assert.ok(!text.includes(value), `the hidden value ${value} left the server`);
  }
});
